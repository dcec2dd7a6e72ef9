// Test play: finding the project's game program, saving the stage and starting
// the game, and the channel on which the game tells the editor that it ended.
//
// The game program is marked by a section ".vantor.strings" of NUL-terminated
// strings in its ELF file; string 1 (counting from 0) of a game is "GAME". The
// editor only reads the file, it never runs a candidate.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/settings.h"

class EditorState;
class Project;

// Puts the marker into the program that uses it (once, at namespace scope of
// one source file): string 0 names the system, string 1 is "GAME".
#define VANTOR_GAME_MARKER()                                                  \
    __asm__(".pushsection .vantor.strings,\"a\",@progbits\n"                  \
            ".asciz \"VantorTactics\"\n"                                      \
            ".asciz \"GAME\"\n"                                               \
            ".popsection\n")

// The settings that hold only during a test play, as the dialog and the game
// show them: label, the member, and for a choice its texts in value order
// (UTF-8); a setting without texts is an on/off flag.
struct TestPlayOption {
    const char* label;
    int32_t cTestPlay::*member;
    std::vector<const char*> texts;
};
const std::vector<TestPlayOption>& TestPlayOptions();

// Reads size bytes at offset into out; false when the file has fewer.
using ReadAtFn = std::function<bool(uint64_t offset, void* out, std::size_t size)>;

// String n of the ".vantor.strings" section of an ELF file of fileSize bytes,
// read through read. False for anything that is not a well-formed ELF file
// with such a section holding at least n + 1 strings. Reads only the header,
// the section table, the section names and that section.
bool ElfMarkerString(const ReadAtFn& read, uint64_t fileSize, int n, std::string& out);
// String 1 of the file's marker is exactly "GAME".
bool IsGameProgram(const std::string& hostPath);

// The game program to start, as a host path: with automatic search the first
// regular file of the current folder (by byte order of the names) that the
// user may execute and that carries the marker; otherwise the stored path,
// which must name an existing regular file. False, with path empty, when none.
bool FindGameProgram(const cTestPlay& settings, std::string& path);

// The program of a test play is started by launch (absolute program path,
// working folder); it returns the process id, or -1 when it could not start.
struct TestPlayHooks {
    std::function<uint32_t()> clock;   // milliseconds, for the double-start guard
    std::function<int(const std::string& program, const std::string& folder)> launch;
    std::function<void()> busyChanged; // after AppBusy changed with the running flag
};

// The hooks of this process (the frame sets the clock and what follows a
// change of AppBusy; an unset launch starts the program detached).
TestPlayHooks& ProcessTestPlayHooks();

// Starts a program with no arguments in the folder, in a session of its own so
// that it outlives the editor. The process id, or -1.
int LaunchDetached(const std::string& program, const std::string& folder);

// Sets the running flag and AppBusy with it.
void SetTestPlayRunning(EditorState& ed, bool running, const TestPlayHooks& hooks);

// The test-play command: finds the game, guards against a second start, saves
// the stage and the event palette (an open stage must have been saved once),
// empties the undo history, writes the editor settings with the stage the game
// is to play and starts the game in the project folder. True when it started.
bool StartTestPlay(EditorState& ed, Project& p, const TestPlayHooks& hooks);

// The game said it ended (data 0 on the channel) or its connection broke.
void EndTestPlay(EditorState& ed, const TestPlayHooks& hooks);

// The process of the last game started; its exit status goes into the report
// log once it ended. Returns true when it ended now.
struct GameProcess {
    int pid = 0;
};
GameProcess& LastGameProcess();
bool CollectGameExit(GameProcess& game);

// --- The end-of-play channel

// The current directory as the system gives it (the project folder of both
// the editor and the game).
std::string WorkingFolder();

// The local socket path editor and game agree on for a project folder (as the
// current directory gives it): the user's runtime folder (else the temp
// folder) / "VantorTactics_Editor-<uid>-<FNV-1a 32 of the folder in hex>".
std::string TestPlayChannel(const std::string& projectFolder);
uint32_t Fnv1a32(std::string_view bytes);

// A message is a data value (4 bytes LE), a length (4 bytes LE, at most
// kMaxTestPlayPayload) and that many bytes.
constexpr uint32_t kMaxTestPlayPayload = 65536;
std::string EncodeTestPlayMessage(uint32_t data, std::string_view payload = {});

// Splits the bytes of one connection into messages, however they arrive.
class TestPlayMessageReader {
public:
    struct Message {
        uint32_t data = 0;
        std::string payload;
    };
    void Feed(const void* bytes, std::size_t size);
    // The next whole message; false when none is complete yet (or broken).
    bool Next(Message& out);
    // A length above the limit was seen: the connection is to be dropped.
    bool Broken() const { return broken_; }

private:
    std::string buffer_;
    std::size_t pos_ = 0;
    bool broken_ = false;
};

// The game's side: a connection to the editor, made at start so that the
// editor notices a crash, and the end message sent at exit.
class TestPlayClient {
public:
    TestPlayClient() = default;
    ~TestPlayClient();
    TestPlayClient(const TestPlayClient&) = delete;
    TestPlayClient& operator=(const TestPlayClient&) = delete;
    // False when nobody listens (the game then runs alone).
    bool Connect(const std::string& channel);
    bool Connected() const { return fd_ >= 0; }
    bool Send(uint32_t data, std::string_view payload = {});
    void Close();

private:
    int fd_ = -1;
};
