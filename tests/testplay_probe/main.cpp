// A small game program for the test-play tests. It carries the marker and
// does what the file "probe.txt" in its working folder says: "send" (connect,
// send the end message after 200 ms), "exit" (connect, end after 200 ms
// without the message) or "silent" (never connect). It writes "probe.ran".
#include <unistd.h>

#include <fstream>
#include <string>

#include "app/test_play.h"

VANTOR_GAME_MARKER();

int main()
{
    std::string what;
    std::ifstream("probe.txt") >> what;
    std::ofstream("probe.ran") << what << "\n";
    TestPlayClient editor;
    if (what != "silent")
        editor.Connect(TestPlayChannel(WorkingFolder()));
    usleep(200 * 1000);
    if (what == "send")
        editor.Send(0);
    return what == "exit" ? 5 : 0;
}
