#include "app/test_play.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>

#include "app/editor_state.h"
#include "app/startup.h"
#include "base/text.h"
#include "project/project.h"
#include "tests/test_util.h"

namespace {

// An ELF file built byte by byte: the header, the section bytes, then the
// section table (a null entry, the given sections, the section names last).
struct ElfShape {
    bool is64 = true;
    bool big = false;
    std::vector<std::pair<std::string, std::string>> sections;  // name, bytes
    uint64_t shoffShift = 0;           // moves the table by this much
    uint64_t markerExtraSize = 0;      // claims more bytes for every section
};

std::vector<uint8_t> BuildElf(const ElfShape& shape)
{
    std::vector<uint8_t> out;
    auto put = [&](std::size_t at, uint64_t v, int width) {
        if (out.size() < at + width)
            out.resize(at + width);
        for (int i = 0; i < width; ++i)
            out[at + i] = static_cast<uint8_t>(v >> (8 * (shape.big ? width - 1 - i : i)));
    };
    const std::size_t headerSize = shape.is64 ? 64 : 52, entSize = shape.is64 ? 64 : 40;
    out.resize(headerSize);
    out[0] = 0x7f, out[1] = 'E', out[2] = 'L', out[3] = 'F';
    out[4] = shape.is64 ? 2 : 1;
    out[5] = shape.big ? 2 : 1;
    out[6] = 1;

    std::string names(1, '\0');
    struct Placed { uint64_t name, offset, size; };
    std::vector<Placed> placed;
    for (const auto& [name, bytes] : shape.sections) {
        placed.push_back({names.size(), out.size(), bytes.size() + shape.markerExtraSize});
        names += name + '\0';
        out.insert(out.end(), bytes.begin(), bytes.end());
    }
    const uint64_t namesName = names.size();
    names += std::string(".shstrtab") + '\0';
    placed.push_back({namesName, out.size(), names.size()});
    out.insert(out.end(), names.begin(), names.end());

    const uint64_t shoff = out.size() + shape.shoffShift;
    const uint64_t count = placed.size() + 1;
    out.resize(out.size() + count * entSize);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        std::size_t at = out.size() - (placed.size() - i) * entSize;
        put(at, placed[i].name, 4);
        put(at + 4, 1, 4);  // program bits
        put(at + (shape.is64 ? 0x18 : 0x10), placed[i].offset, shape.is64 ? 8 : 4);
        put(at + (shape.is64 ? 0x20 : 0x14), placed[i].size, shape.is64 ? 8 : 4);
    }
    put(shape.is64 ? 0x28 : 0x20, shoff, shape.is64 ? 8 : 4);
    put(shape.is64 ? 0x3A : 0x2E, entSize, 2);
    put(shape.is64 ? 0x3C : 0x30, count, 2);
    put(shape.is64 ? 0x3E : 0x32, count - 1, 2);
    return out;
}

std::string Marker(std::initializer_list<const char*> strings)
{
    std::string s;
    for (const char* t : strings)
        s += std::string(t) + '\0';
    return s;
}

void WriteProgram(const std::string& name, const std::vector<uint8_t>& bytes, bool executable = true)
{
    WriteFile(name, bytes);
    chmod(name.c_str(), executable ? 0755 : 0644);
}

TEST(TestPlayMarker, OnlyStringOneExactlyGameInAWellFormedFileMarksTheGame)
{
    TempDir dir;
    struct Row { const char* what; ElfShape shape; bool executable; bool game; };
    ElfShape shifted{true, false, {{".vantor.strings", Marker({"x", "GAME"})}}, 4096, 0};
    ElfShape oversized{true, false, {{".vantor.strings", Marker({"x", "GAME"})}}, 0, 1 << 20};
    const Row rows[] = {
        {"string 1 GAME", {true, false, {{".text", "abc"}, {".vantor.strings", Marker({"VantorTactics", "GAME"})}}}, true, true},
        {"GAMEX", {true, false, {{".vantor.strings", Marker({"x", "GAMEX"})}}}, true, false},
        {"GAME only as string 0", {true, false, {{".vantor.strings", Marker({"GAME", "other"})}}}, true, false},
        {"GAME unterminated", {true, false, {{".vantor.strings", std::string("x") + '\0' + "GAME"}}}, true, false},
        {"no marker section", {true, false, {{".text", Marker({"x", "GAME"})}}}, true, false},
        {"section table past the end", shifted, true, false},
        {"section larger than the file", oversized, true, false},
        {"32-bit big-endian", {false, true, {{".vantor.strings", Marker({"x", "GAME", "more"})}}}, true, true},
        {"32-bit little-endian", {false, false, {{".vantor.strings", Marker({"x", "GAME"})}}}, true, true},
        {"64-bit big-endian", {true, true, {{".vantor.strings", Marker({"x", "GAME"})}}}, true, true},
        {"not executable", {true, false, {{".vantor.strings", Marker({"x", "GAME"})}}}, false, false},
    };
    int i = 0;
    for (const Row& row : rows) {
        std::filesystem::create_directory(std::to_string(i));
        std::filesystem::current_path(std::to_string(i++));
        WriteProgram("game", BuildElf(row.shape), row.executable);
        // The marker alone does not make a file that may not be run the game.
        EXPECT_EQ(IsGameProgram("game"), row.game || !row.executable) << row.what;
        cTestPlay settings;
        settings.m_bAutoFind = 1;
        std::string path;
        EXPECT_EQ(FindGameProgram(settings, path), row.game) << row.what;
        EXPECT_EQ(path, row.game ? "game" : "") << row.what;
        std::filesystem::current_path("..");
    }
}

TEST(TestPlayMarker, TruncatedFilesAreNeverTheGame)
{
    std::vector<uint8_t> good = BuildElf({true, false, {{".vantor.strings", Marker({"x", "GAME"})}}});
    for (std::size_t size = 0; size < good.size(); ++size) {
        ReadAtFn read = [&](uint64_t off, void* out, std::size_t n) {
            if (off > size || n > size - off)
                return false;
            std::memcpy(out, good.data() + off, n);
            return true;
        };
        std::string s;
        EXPECT_FALSE(ElfMarkerString(read, size, 1, s)) << size;
    }
}

TEST(TestPlayFind, FirstMarkedProgramByNameAndTheStoredPath)
{
    TempDir dir;
    const auto marked = BuildElf({true, false, {{".vantor.strings", Marker({"x", "GAME"})}}});
    const auto unmarked = BuildElf({true, false, {{".text", "code"}}});
    WriteProgram("Zeta", marked);
    WriteProgram("beta", marked);
    WriteProgram("Alpha", unmarked);   // the editor itself: no marker
    WriteProgram("script.sh", {'#', '!', '/', 'b', 'i', 'n', '/', 's', 'h', '\n'});
    std::filesystem::create_directory("dir.exe");
    cTestPlay settings;
    settings.m_bAutoFind = 1;
    std::string path;
    ASSERT_TRUE(FindGameProgram(settings, path));
    EXPECT_EQ(path, "Zeta");  // byte order: upper case first

    settings.m_bAutoFind = 0;
    struct Row { std::string stored; bool found; };
    const Row rows[] = {{"bin\\mygame", true}, {"bin\\missing", false}, {"", false}, {"dir.exe", false}};
    WriteProgram("bin/mygame", unmarked, false);  // the stored path needs no marker
    for (const Row& row : rows) {
        settings.m_GamePath = row.stored;
        EXPECT_EQ(FindGameProgram(settings, path), row.found) << row.stored;
        EXPECT_EQ(path.empty(), !row.found) << row.stored;
    }
}

TEST(TestPlayChannel, FolderUidAndHashOfTheProjectFolder)
{
    EXPECT_EQ(Fnv1a32(""), 0x811c9dc5u);
    EXPECT_EQ(Fnv1a32("a"), 0xe40c292cu);
    EXPECT_EQ(Fnv1a32("foobar"), 0xbf9cf968u);
    const char* old = std::getenv("XDG_RUNTIME_DIR");
    std::string saved = old ? old : "";
    setenv("XDG_RUNTIME_DIR", "/run/user/7/", 1);
    EXPECT_EQ(TestPlayChannel("foobar"), StrPrintf("/run/user/7/VantorTactics_Editor-%u-bf9cf968", unsigned(getuid())));
    setenv("XDG_RUNTIME_DIR", "", 1);
    std::string fallback = TestPlayChannel("/p");
    EXPECT_EQ(fallback.rfind(std::filesystem::temp_directory_path().string(), 0), 0u) << fallback;
    EXPECT_NE(TestPlayChannel("/p"), TestPlayChannel("/P"));
    if (old)
        setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
    else
        unsetenv("XDG_RUNTIME_DIR");
}

TEST(TestPlayFraming, MessagesSplitJoinedAndOversized)
{
    const std::string two = EncodeTestPlayMessage(7, "hello") + EncodeTestPlayMessage(0);
    // Every split of two messages gives the same two messages.
    for (std::size_t cut = 0; cut <= two.size(); ++cut) {
        TestPlayMessageReader r;
        std::vector<TestPlayMessageReader::Message> got;
        TestPlayMessageReader::Message m;
        r.Feed(two.data(), cut);
        while (r.Next(m))
            got.push_back(m);
        r.Feed(two.data() + cut, two.size() - cut);
        while (r.Next(m))
            got.push_back(m);
        ASSERT_EQ(got.size(), 2u) << cut;
        EXPECT_EQ(got[0].data, 7u);
        EXPECT_EQ(got[0].payload, "hello");
        EXPECT_EQ(got[1].data, 0u);
        EXPECT_TRUE(got[1].payload.empty());
    }
    // Exactly the limit passes; one more byte breaks the connection.
    TestPlayMessageReader r;
    std::string big = EncodeTestPlayMessage(1, std::string(kMaxTestPlayPayload, 'x'));
    r.Feed(big.data(), big.size());
    TestPlayMessageReader::Message m;
    EXPECT_TRUE(r.Next(m));
    std::string over = EncodeTestPlayMessage(0).substr(0, 4) + std::string("\x01\x00\x01\x00", 4);
    r.Feed(over.data(), over.size());
    EXPECT_FALSE(r.Next(m));
    EXPECT_TRUE(r.Broken());
    std::string after = EncodeTestPlayMessage(0);
    r.Feed(after.data(), after.size());
    EXPECT_FALSE(r.Next(m));
}

// StartTestPlay with a spy launcher, a settable clock and a recording sink.
struct StartEnv {
    StartEnv()
    {
        p->m_EditConfig.m_nUndoDepth = 3;
        p->m_Stage.m_nWidth = 2;
        p->m_Stage.m_nHeight = 2;
        std::filesystem::create_directories("data/stg");
        std::filesystem::create_directories("e_data");
        WriteProgram("game", BuildElf({true, false, {{".vantor.strings", Marker({"x", "GAME"})}}}));
        p->m_TestPlay.m_bAutoFind = 1;
        hooks.clock = [this] { return now; };
        hooks.launch = [this](const std::string& program, const std::string& folder) {
            launched.push_back(program);
            folders.push_back(folder);
            return launchResult;
        };
        hooks.busyChanged = [this] { ++busyChanges; };
    }
    ~StartEnv()
    {
        AppBusy = false;
    }
    void OpenSavedStage(const std::string& path)
    {
        ed->stageOpen = true;
        ed->stagePath = path;
        ed->stageModified = true;
        ed->paletteModified = true;
        p->m_EventPalette.resize(1);
        PushUndo(*ed, *p);
    }

    TempDir dir;
    RecordingSink sink;
    std::unique_ptr<Project> p = std::make_unique<Project>();
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
    TestPlayHooks hooks;
    uint32_t now = 100000;
    int launchResult = 4242;
    int busyChanges = 0;
    std::vector<std::string> launched, folders;
};

TEST(TestPlayStart, SuccessSavesEverythingAndLaunchesInTheProjectFolder)
{
    StartEnv f;
    f.OpenSavedStage("data\\stg\\a.stg2");
    f.ed->mode = PaletteMode::Events;
    ASSERT_TRUE(StartTestPlay(*f.ed, *f.p, f.hooks));
    EXPECT_TRUE(f.sink.texts.empty());
    ASSERT_EQ(f.launched.size(), 1u);
    EXPECT_EQ(f.launched[0], f.dir.Path().string() + "/game");
    EXPECT_EQ(f.folders[0], f.dir.Path().string());
    EXPECT_TRUE(f.ed->testPlayRunning);
    EXPECT_TRUE(AppBusy);
    EXPECT_EQ(f.ed->testPlayStart, f.now);
    EXPECT_FALSE(f.ed->stageModified);
    EXPECT_FALSE(f.ed->paletteModified);
    EXPECT_FALSE(f.ed->undo.CanUndo());
    EXPECT_TRUE(std::filesystem::exists("data/stg/a.stg2"));
    EXPECT_TRUE(std::filesystem::exists("data/EventPlt.dat"));
    cEditConfig config;
    ASSERT_TRUE(config.LoadFile("e_data\\EditConfig.dat"));
    EXPECT_EQ(config.m_StagePath, "data\\stg\\a.stg2");
    EXPECT_EQ(config.m_nPaletteMode, 2);
    EXPECT_EQ(LastGameProcess().pid, 4242);
    LastGameProcess().pid = 0;

    EndTestPlay(*f.ed, f.hooks);
    EXPECT_FALSE(f.ed->testPlayRunning);
    EXPECT_FALSE(AppBusy);
    EXPECT_EQ(f.busyChanges, 2);
}

TEST(TestPlayStart, FailuresShowTheirMessageAndLeaveRunningClear)
{
    const std::string noGame = SJ("ゲームプログラムが見つかりません！");
    const std::string neverSaved = SJ("ステージファイルのパスが無効です！\n1度はステージを保存しないと、テストプレイは実行できません！");
    const std::string saveFailed = SJ("ステージファイルのパスが無効です！\n1度ステージを保存する必要があります！");
    const std::string noLaunch = SJ("ゲームプログラムが呼び出せません！");
    struct Row {
        const char* what;
        std::function<void(StartEnv&)> setup;
        std::string message;
        bool launches;
        bool paletteWritten;
    };
    const Row rows[] = {
        {"no game", [](StartEnv& f) { std::filesystem::remove("game"); f.OpenSavedStage("data\\stg\\a.stg2"); }, noGame, false, false},
        {"never saved", [](StartEnv& f) { f.OpenSavedStage(""); }, neverSaved, false, false},
        {"unwritable stage", [](StartEnv& f) { f.OpenSavedStage("nofolder\\a.stg2"); }, saveFailed, false, false},
        {"launch fails", [](StartEnv& f) { f.OpenSavedStage("data\\stg\\a.stg2"); f.launchResult = -1; }, noLaunch, true, true},
    };
    for (const Row& row : rows) {
        StartEnv f;
        row.setup(f);
        EXPECT_FALSE(StartTestPlay(*f.ed, *f.p, f.hooks)) << row.what;
        ASSERT_EQ(f.sink.texts.size(), 1u) << row.what;
        EXPECT_EQ(f.sink.texts[0], row.message) << row.what;
        EXPECT_EQ(f.sink.titles[0], SJ("エラー")) << row.what;
        EXPECT_EQ(f.launched.size(), row.launches ? 1u : 0u) << row.what;
        EXPECT_FALSE(f.ed->testPlayRunning) << row.what;
        EXPECT_FALSE(AppBusy) << row.what;
        EXPECT_EQ(std::filesystem::exists("data/EventPlt.dat"), row.paletteWritten) << row.what;
        EXPECT_EQ(f.ed->paletteModified, !row.paletteWritten) << row.what;
        EXPECT_FALSE(std::filesystem::exists("e_data/EditConfig.dat") && !row.launches) << row.what;
    }
}

TEST(TestPlayStart, SecondStartIsSilentWithinThreeSecondsThenWarns)
{
    StartEnv f;
    const std::string twice = SJ("二重起動はできません！\n二重起動でないのにこのエラーが出る場合はエディタープログラムとゲームプログラムのバージョンが合っていない可能性があります。");
    ASSERT_TRUE(StartTestPlay(*f.ed, *f.p, f.hooks));
    f.now += 2999;
    EXPECT_FALSE(StartTestPlay(*f.ed, *f.p, f.hooks));
    EXPECT_TRUE(f.sink.texts.empty());
    f.now += 1;
    EXPECT_FALSE(StartTestPlay(*f.ed, *f.p, f.hooks));
    ASSERT_EQ(f.sink.texts.size(), 1u);
    EXPECT_EQ(f.sink.texts[0], twice);
    EXPECT_TRUE(f.ed->testPlayRunning);  // the running play is untouched
    EXPECT_EQ(f.launched.size(), 1u);
    // A missing game is reported before the guard.
    std::filesystem::remove("game");
    f.sink.texts.clear();
    EXPECT_FALSE(StartTestPlay(*f.ed, *f.p, f.hooks));
    ASSERT_EQ(f.sink.texts.size(), 1u);
    EXPECT_EQ(f.sink.texts[0], SJ("ゲームプログラムが見つかりません！"));
    LastGameProcess().pid = 0;
}

TEST(TestPlayStart, WithoutAStageTheGameStartsWithAnEmptyStagePath)
{
    StartEnv f;
    f.p->m_EditConfig.m_StagePath = "data\\stg\\old.stg2";
    ASSERT_TRUE(StartTestPlay(*f.ed, *f.p, f.hooks));
    EXPECT_TRUE(f.sink.texts.empty());
    EXPECT_FALSE(std::filesystem::exists("data/EventPlt.dat"));
    cEditConfig config;
    ASSERT_TRUE(config.LoadFile("e_data\\EditConfig.dat"));
    EXPECT_EQ(config.m_StagePath, "");
    LastGameProcess().pid = 0;
}

TEST(TestPlayLaunch, DetachedProgramRunsInTheFolderAndItsStatusIsCollected)
{
    TempDir dir;
    WriteFile("probe.sh", std::vector<uint8_t>{});
    {
        std::ofstream f("probe.sh");
        f << "#!/bin/sh\npwd > where.txt\nexit 3\n";
    }
    chmod("probe.sh", 0755);
    std::string folder = dir.Path().string();
    EXPECT_EQ(LaunchDetached(folder + "/missing", folder), -1);
    GameProcess game;
    game.pid = LaunchDetached(folder + "/probe.sh", folder);
    ASSERT_GT(game.pid, 0);
    for (int i = 0; i < 500 && !CollectGameExit(game); ++i)
        usleep(10000);
    EXPECT_EQ(game.pid, 0);
    auto where = ReadFile("where.txt");
    EXPECT_EQ(std::string(where.begin(), where.end()), std::filesystem::canonical(folder).string() + "\n");
}

}  // namespace
