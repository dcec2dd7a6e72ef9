#include "app/window/editor_app.h"

#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QElapsedTimer>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "app/test_play.h"
#include "app/window/test_play_listener.h"
#include "base/text.h"
#include "events/window/action_palette_dialog.h"
#include "events/window/event_action_editor.h"
#include "media/player_sound_output.h"
#include "project/project.h"
#include "ui/frame_tick.h"
#include "ui/controls.h"
#include "ui/qt_text.h"

// ---------------------------------------------------------------------------
// Message boxes

Answer QtMessageSink::Box(const std::string& text, const std::string& title, Buttons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(ToQt(title));
    box.setText(ToQt(text));
    switch (buttons) {
    case Buttons::Ok:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Buttons::YesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case Buttons::YesNoCancel:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    case QMessageBox::Cancel: return Answer::Cancel;
    default: return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
    }
}

void QtMessageSink::RequestQuit()
{
    // Closing the frame window ends the event loop.
    QMetaObject::invokeMethod(qApp, [] { QApplication::quit(); }, Qt::QueuedConnection);
}

DisplayFacts CurrentDisplayFacts()
{
    DisplayFacts f;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        f.screenWidth = s->geometry().width();
        f.screenHeight = s->geometry().height();
    }
    QFont font = QApplication::font();
    QFontMetrics m(font);
    f.fontFace = Utf8ToCp932(font.family().toStdString());
    f.fontWidth = m.averageCharWidth();
    f.fontHeight = m.height();
    // Pitch in the low bits (1 fixed, 2 variable), family "don't care".
    f.fontPitchAndFamily = font.fixedPitch() ? 1u : 2u;
    return f;
}

// ---------------------------------------------------------------------------
// Battle mode

void DLG_BATTLEMODE::Build(QDialog* dialog)
{
    auto* layout = new QVBoxLayout(dialog);
    auto* combo = new QComboBox(dialog);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setDefault(true);
    layout->addWidget(combo);
    layout->addWidget(ok);
    AddItem(IDC_MODE, combo);
    AddItem(IDC_OK, ok);
}

void DLG_BATTLEMODE::OnInitDialog()
{
    DLG_CLASS::OnInitDialog();
    m_nMode = TheProject().m_System.m_nBattleMode;
    auto* combo = new CTRL_COMBO_CLASS<int>;
    combo->Attach(this, IDC_MODE, &m_nMode, 0);
    combo->SetItems({BattleModeLabels()[0], BattleModeLabels()[1]});
    UpdateAll();
    // Centred on the desktop with the cursor on it.
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect a = s->availableGeometry();
        m_pWnd->move(a.center() - QPoint(m_pWnd->width() / 2, m_pWnd->height() / 2));
        QCursor::setPos(m_pWnd->geometry().center());
    }
}

void DLG_BATTLEMODE::OnCommand(int id, Notify code)
{
    DLG_CLASS::OnCommand(id, code);
    if (id == IDC_OK) {
        StoreAll();
        StoreBattleMode(m_nMode);
        Close(1);
    }
}

// ---------------------------------------------------------------------------
// Windows and idle tick

VIEW_MAIN& FrameWindow()
{
    static VIEW_MAIN frame;
    return frame;
}

DLG_MAIN& MainDialog()
{
    static DLG_MAIN main;
    return main;
}

namespace {

uint32_t NowMs()
{
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return static_cast<uint32_t>(clock.elapsed());
}

// After a stage was created, opened or closed the main window is built anew
// with fresh tools; the stage, its path and the open flag stay.
void RebuildMainWindow()
{
    DLG_MAIN& main = MainDialog();
    main.Close(0);
    Editor().ResetTools();
    main.CreateModeless(0, true);
    main.SetPaletteMode(PaletteMode::Chips);
    QWidget* w = main.Widget();
    if (!w)
        return;
    w->activateWindow();
    w->setFocus();
    // The window manager may hand the focus elsewhere while the old window
    // goes and the new one comes: until it is active, ask again for a
    // moment, as long as no other window of the editor took the focus.
    auto tries = std::make_shared<int>(20);
    auto* retry = new QTimer(w);
    retry->setInterval(50);
    QObject::connect(retry, &QTimer::timeout, w, [w, retry, tries] {
        if (w->isActiveWindow() || QApplication::activeWindow() || --*tries <= 0) {
            retry->deleteLater();
            return;
        }
        if (w->isVisible() && !(w->windowState() & Qt::WindowMinimized)) {
            w->raise();
            w->activateWindow();
        }
    });
    retry->start();
}

bool CreateMainWindow()
{
    VIEW_MAIN& frame = FrameWindow();
    frame.SetFrame(640, 480, 100, 100, 0, 0);
    if (!frame.Create(QStringLiteral("ヴァントール"), 9999, 9999, 640, 480)) {
        OutOfMemoryQuit();
        return false;
    }
    // The frame stays out of sight: it owns the tool windows and the
    // application's lifetime, the main window stands for the application.
    // The stage remembered from the last run is open when start-up found it.
    EditorState& ed = Editor();
    const cEditConfig& config = EditConfig();
    ed.stageOpen = !config.m_StagePath.empty();
    ed.stagePath = config.m_StagePath;
    ed.stageModified = false;

    DLG_MAIN& main = MainDialog();
    main.SetupWindow(0, frame.Widget(), &frame);
    main.onStageReplaced = [] { QTimer::singleShot(100, RebuildMainWindow); };
    main.CreateModeless(0, true);
    if (ed.stageOpen)
        main.SetPaletteMode(static_cast<PaletteMode>(std::clamp(config.m_nPaletteMode, 0, 2)));
    if (main.Widget())
        main.Widget()->setFocus();
    return true;
}

}  // namespace

IdleDriver::IdleDriver()
{
    m_Timer.setInterval(1000 / 20);
    connect(&m_Timer, &QTimer::timeout, this, &IdleDriver::Tick);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        AppActive = state == Qt::ApplicationActive;
        UpdateRunning();
    });
    UpdateRunning();
}

void IdleDriver::UpdateRunning()
{
    // Nothing runs between events while another application is active or a
    // test play runs.
    if (AppActive && !AppBusy)
        m_Timer.start();
    else
        m_Timer.stop();
}

void IdleDriver::Tick()
{
    UpdateRunning();
    if (!MainDialog().Exists())
        return;
    if (FocusRequest.pending) {
        FocusRequest.pending = false;
        if (FocusRequest.target == FocusTarget::Main && MainDialog().Widget())
            MainDialog().Widget()->setFocus();
    }
    uint32_t now = NowMs();
    m_Rate.Tick(now);
    for (WND_CLASS* w : windows)
        w->OnIdle();
    if (onFrame && m_Clock.Due(now, 20))
        onFrame();
}

void EndTestPlayFromGame()
{
    if (QWidget* w = MainDialog().Widget()) {
        w->raise();
        w->activateWindow();
    }
    EndTestPlay(Editor(), ProcessTestPlayHooks());
}

int RunEditor(StartupHooks hooks)
{
    ShutdownHooks& down = ProcessShutdownHooks();
    down.currentStagePath = [] { return Editor().stagePath; };
    down.currentPaletteMode = [] { return static_cast<int>(Editor().mode); };
    UseProjectHooks(hooks, down);
    if (!hooks.prepareSound)
        hooks.prepareSound = PreparePlayerSound;
    if (!down.releaseSound)
        down.releaseSound = ReleasePlayerSound;
    if (!hooks.createMainWindow)
        hooks.createMainWindow = CreateMainWindow;
    if (!hooks.chooseBattleMode) {
        hooks.chooseBattleMode = [] {
            DLG_BATTLEMODE dlg;
            dlg.SetTitle(QStringLiteral("戦闘モードの選択"));
            return dlg.DoModal() == 1;
        };
    }
    InstallActionEditor();
    InstallActionPaletteMenu();
    if (!AppStartup(hooks))
        return 0;
    // The application ends through its quit path only, not when its last
    // window goes away for a moment (the main window is rebuilt after New).
    QApplication::setQuitOnLastWindowClosed(false);
    IdleDriver idle;
    idle.windows.push_back(&MainDialog());
    if (!idle.onFrame)
        idle.onFrame = RunFrameListeners;
    TestPlayHooks& play = ProcessTestPlayHooks();
    play.clock = NowMs;
    play.busyChanged = [&idle] { idle.UpdateRunning(); };
    TestPlayListener listener;
    listener.onEnd = EndTestPlayFromGame;
    const std::string channel = TestPlayChannel(WorkingFolder());
    if (!listener.Listen(channel))
        ReportPrintf("Test play: cannot listen on %s", channel.c_str());
    int code = QApplication::exec();
    play.busyChanged = nullptr;
    AppShutdown(down);
    MainDialog().Close(0);
    return code;
}
