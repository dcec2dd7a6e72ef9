// The editor's process on Qt: the message sink backed by message boxes, the
// frame window with the main dialog, the idle tick and the run from start-up
// to shut-down.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "base/log.h"
#include "app/startup.h"
#include "app/window_logic.h"
#include "stage/window/main_window.h"
#include "ui/wnd.h"

// Boxes and questions as Qt message boxes owned by the active window.
class QtMessageSink : public MessageSink {
public:
    Answer Box(const std::string& text, const std::string& title, Buttons buttons) override;
    void RequestQuit() override;
};

// Facts about the screen and the system font for the machine report.
DisplayFacts CurrentDisplayFacts();

// Dialog "戦闘モードの選択", shown once after the default data were copied. It
// offers the project's current battle mode; OK stores the choice in the system
// record and saves it.
class DLG_BATTLEMODE : public DLG_CLASS {
public:
    enum { IDC_MODE = 1382 };
    void Build(QDialog* dialog) override;
    void OnInitDialog() override;
    void OnCommand(int id, Notify code) override;

private:
    int m_nMode = 0;
};

// The frame window and the main dialog inside it.
VIEW_MAIN& FrameWindow();
DLG_MAIN& MainDialog();

// Drives OnIdle of the windows the application drives, 20 times a second
// while the application is active and no test play runs.
class IdleDriver : public QObject {
public:
    IdleDriver();
    void Tick();
    int Rate() const { return m_Rate.Rate(); }
    // Windows whose OnIdle the tick calls.
    std::vector<WND_CLASS*> windows;
    // Called with the frame clock's answer, for animation previews.
    std::function<void()> onFrame;
    // Starts or stops the tick as the application's state says.
    void UpdateRunning();

private:
    QTimer m_Timer;
    FrameClock m_Clock;
    RateCounter m_Rate;
};

// Ends the test play when the game says so: the main window comes forward.
void EndTestPlayFromGame();

// Start-up with the window steps, the event loop, shut-down. The exit code.
int RunEditor(StartupHooks hooks);
