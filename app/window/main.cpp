// vantor-editor [project folder]: edits the project in the given folder, or in
// the current folder when none is given.
#include <unistd.h>

#include <cstdio>

#include "app/startup.h"
#include "base/heap.h"
#include "app/window/editor_app.h"
#include "ui/application.h"

int main(int argc, char** argv)
{
    KeepFreedHeapMemory();
    EditorApplication app(argc, argv);
    if (!LoadQtTranslations(app))
        std::fprintf(stderr, "vantor-editor: Qt's Japanese texts (qtbase_ja) are not installed; its own buttons stay English\n");
    if (argc > 1 && chdir(argv[1]) != 0) {
        std::fprintf(stderr, "vantor-editor: cannot open the project folder %s\n", argv[1]);
        return 1;
    }
    QtMessageSink sink;
    SetMessageSink(&sink);
    InstanceGuard guard;
    if (!ProgramStart(guard, CurrentDisplayFacts()))
        return 0;
    int code = RunEditor(StartupHooks{});
    SetMessageSink(nullptr);
    return code;
}
