// The editor's process: what runs between the program's start and its end,
// apart from the windows. The window side (Qt) supplies the steps that need
// windows through StartupHooks; every question goes through the message sink.
#pragma once

#include <functional>
#include <string>

#include "project/project.h"

// Process-wide application state.
extern std::string ProjectFolder;  // the working directory, absolute, recorded at start-up
extern bool StartupComplete;       // shut-down saves the editor settings only when set
extern bool AppActive;             // the application has the focus
extern bool AppBusy;               // a test play runs; the idle tick is suspended
extern double SheetScaleX, SheetScaleY;  // database window scale factors

// A request to give the keyboard focus back on the next idle tick.
enum class FocusTarget { Main = 0, Database = 2 };
struct FocusRequestState {
    bool pending = false;
    FocusTarget target = FocusTarget::Main;
};
extern FocusRequestState FocusRequest;

// The data version this editor writes.
constexpr unsigned kEditorDataVersion = kDataVersion;

// Display facts for the machine report, supplied by the window side.
struct DisplayFacts {
    int screenWidth = 0, screenHeight = 0;
    std::string fontFace;
    int fontWidth = 0, fontHeight = 0;
    unsigned fontPitchAndFamily = 0;
};

// Writes the nine lines that describe the machine into the report log.
void WriteMachineReport(const DisplayFacts& display);

// One running editor per user and name. The lock lives in a folder shared by
// the user's processes and is released with the process, even after a crash.
class InstanceGuard {
public:
    explicit InstanceGuard(std::string lockFolder = std::string());
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when no other instance holds the name.
    bool Acquire(const std::string& name);
    void Release();

private:
    std::string folder_;
    int fd_ = -1;
};

// Steps of the program's entry that come before any window: the logs, the
// version line and the machine report, the single-instance question.
// False ends the program (exit code 0).
bool ProgramStart(InstanceGuard& guard, const DisplayFacts& display, const std::string& instanceName = "Vantor_Editor");

// The parts of start-up that need windows or other subsystems. Unset hooks
// succeed and do nothing.
struct StartupHooks {
    std::function<void()> loadRandomNames;        // "data\random_name"
    std::function<void()> buildSkillFields;       // skill table and CSV field descriptions
    std::function<bool()> loadProject;            // every project file, then the remembered stage
    std::function<void()> readRunSettings;        // defaults, then "System.ini"
    std::function<bool()> chooseBattleMode;       // after the data were just created; false when not confirmed
    std::function<void()> prepareSound;           // music and sound players
    std::function<bool()> createMainWindow;       // frame window and main dialog
};

// The data folder check: when "data" is missing and "default" exists, asks
// whether to create the data from it and copies it. A failed copy removes what
// was copied. Sets created when the data were just made.
bool EnsureDataFolder(bool& created);

// The application start-up. False ends the program.
bool AppStartup(const StartupHooks& hooks);

// The shut-down steps that do not need windows: the editor settings (after a
// complete start-up) with the stage being edited and the palette mode, then
// the hooks of the other subsystems.
struct ShutdownHooks {
    std::function<std::string()> currentStagePath;
    std::function<int()> currentPaletteMode;
    std::function<void()> saveCommonVariableNames;  // "data\GValInfo.dat"
    std::function<void()> releaseSound;
};
void AppShutdown(const ShutdownHooks& hooks);

// The shut-down hooks of this process; the main window fills in the stage it
// edits and its palette mode.
ShutdownHooks& ProcessShutdownHooks();

// Sets the run settings to the defaults of the system record's keys and reads
// the file over them; a file that cannot be read to its end leaves the
// defaults.
void ReadProjectRunSettings(const std::string& path = "System.ini");

// Fills the unset hooks that the project supplies: the random-name lists, the
// skill CSV columns, the project load with the remembered stage, the run
// settings, and saving the common-variable names.
void UseProjectHooks(StartupHooks& hooks, ShutdownHooks& down);
