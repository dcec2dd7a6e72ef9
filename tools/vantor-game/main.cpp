// vantor-game: the stand-in game program of test play. Started by the editor
// with no arguments in the project folder, it shows the stage the editor
// saved and the settings it was given, and tells the editor when it ends.
#include <signal.h>

#include <QApplication>
#include <QTimer>

#include "base/heap.h"
#include "app/test_play.h"
#include "game_window.h"

// The editor finds its game by this.
VANTOR_GAME_MARKER();

namespace {

volatile sig_atomic_t g_stopRequested = 0;

void OnStopSignal(int) { g_stopRequested = 1; }

}  // namespace

int main(int argc, char** argv)
{
    KeepFreedHeapMemory();
    // Being asked to stop (logging out, kill) ends the game as its button
    // does, once the window runs.
    struct sigaction sa {};
    sa.sa_handler = OnStopSignal;
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);

    QApplication app(argc, argv);
    // Connected from the start, so that the editor notices a crash.
    TestPlayClient editor;
    editor.Connect(TestPlayChannel(WorkingFolder()));

    std::vector<std::string> messages;
    bool loaded = LoadGameProject(messages);
    GameWindow window(loaded, messages);
    window.show();

    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&window] {
        if (g_stopRequested)
            window.close();
    });
    watch.start(100);

    app.exec();
    editor.Send(0);
    editor.Close();
    return 0;
}
