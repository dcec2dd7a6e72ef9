// The layer between record files and the host: what may be read, how a short
// file is noticed, and how a save replaces a file.
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include <gtest/gtest.h>

#include "base/host_file.h"
#include "base/paths.h"
#include "base/log.h"
#include "base/text.h"
#include "database/class.h"
#include "project/default_project.h"
#include "project/file_kinds.h"
#include "project/project.h"
#include "records/serial.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

// A hang (a FIFO read that waits for a writer) ends the test run instead of
// blocking it.
struct TimeLimit {
    explicit TimeLimit(unsigned seconds) { alarm(seconds); }
    ~TimeLimit() { alarm(0); }
};

// Something other than a regular file in the place of path.
enum class Odd { Directory, Fifo, DevZeroLink, LinkLoop };

void MakeOdd(Odd odd, const std::string& relative)
{
    const std::string path = fs::absolute(relative).string();
    fs::create_directories(fs::path(path).parent_path());
    switch (odd) {
    case Odd::Directory: fs::create_directory(path); break;
    case Odd::Fifo: ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); break;
    case Odd::DevZeroLink: fs::create_symlink("/dev/zero", path); break;
    case Odd::LinkLoop:
        fs::create_symlink(path + ".other", path);
        fs::create_symlink(path, path + ".other");
        break;
    }
}

TEST(HostFile, OnlyRegularFilesAreRead)
{
    TempDir dir;
    TimeLimit limit(30);
    struct Row { Odd odd; const char* reason; };
    const Row rows[] = {
        {Odd::Directory, "Is a directory"},
        {Odd::Fifo, "not a regular file"},
        {Odd::DevZeroLink, "not a regular file"},
        {Odd::LinkLoop, "Too many levels of symbolic links"},
    };
    for (const Row& r : rows) {
        const std::string path = "odd" + std::to_string(static_cast<int>(r.odd)) + "/Class.dat";
        MakeOdd(r.odd, path);
        std::vector<uint8_t> bytes{1, 2, 3};
        std::string reason;
        EXPECT_FALSE(ReadHostFile(path, bytes, &reason)) << r.reason;
        EXPECT_EQ(reason, r.reason);
        EXPECT_TRUE(bytes.empty());
        // Through the record reader: a failed load like a missing file.
        RecordList<cClass> list;
        list.resize(2);
        EXPECT_EQ(LoadListFile(list, StoredPath(path)), 0) << r.reason;
        EXPECT_EQ(list.size(), 2);
        EXPECT_EQ(LastReadError, r.reason);
        EXPECT_FALSE(VersionTooNew);
    }
    // A regular file is read whole, whatever its size says; a link to one is followed.
    std::vector<uint8_t> content(200000);
    for (std::size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<uint8_t>(i * 7);
    WriteFile("big.bin", content);
    fs::create_symlink("big.bin", "link.bin");
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadHostFile("link.bin", bytes));
    EXPECT_EQ(bytes, content);
    EXPECT_FALSE(ReadHostFile("missing.bin", bytes));
    // The same into a block that the read fills; a file whose size says 0 (as
    // the system's own files do) is read to its end too.
    HostFileBytes block;
    ASSERT_TRUE(ReadHostFile("link.bin", block));
    EXPECT_EQ(std::vector<uint8_t>(block.data.get(), block.data.get() + block.size), content);
    WriteFile("empty.bin", {});
    EXPECT_TRUE(ReadHostFile("empty.bin", block));
    EXPECT_EQ(block.size, 0u);
    for (const char* sized0 : {"/proc/self/status", "/proc/self/maps"}) {
        ASSERT_TRUE(ReadHostFile(sized0, bytes)) << sized0;
        ASSERT_TRUE(ReadHostFile(sized0, block)) << sized0;
        EXPECT_GT(block.size, 0u);
        EXPECT_EQ(block.data[block.size - 1], '\n');
        EXPECT_EQ(bytes.back(), '\n');
    }
    EXPECT_FALSE(ReadHostFile("missing.bin", block));
    EXPECT_EQ(block.size, 0u);
}

// Every file of the starter project is read without ending early, and every
// cut of it ends early: the flag is a property of exactly the short reads.
TEST(EndedEarly, EveryCutOfAWholeFileAndNoWholeFile)
{
    TempDir dir;
    ASSERT_EQ(WriteDefaultProject(dir.Path().string(), false), 1);
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator("data"))
        if (entry.is_regular_file() && FindRecordFileKind(entry.path().filename().string()))
            files.push_back(entry.path().string());
    ASSERT_GT(files.size(), 10u);
    for (const std::string& file : files) {
        const RecordFileKind* kind = FindRecordFileKind(fs::path(file).filename().string());
        const std::vector<uint8_t> whole = ReadFile(file);
        ClearEndedEarlyFiles();
        ASSERT_EQ(kind->make()->Load(StoredPath(file)), 1) << file;
        EXPECT_FALSE(LastLoadEndedEarly) << file;
        EXPECT_TRUE(EndedEarlyFiles().empty()) << file;
        // At most about 150 cuts a file, always the first bytes and the last.
        const std::size_t step = std::max<std::size_t>(1, whole.size() / 150);
        for (std::size_t cut = 0; cut < whole.size(); cut += (cut < 12 || cut + 12 > whole.size()) ? 1 : step) {
            WriteFile("cut.dat", std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut)));
            ClearEndedEarlyFiles();
            ASSERT_EQ(kind->make()->Load("cut.dat"), 1) << file << " cut at " << cut;
            EXPECT_TRUE(LastLoadEndedEarly) << file << " cut at " << cut;
            ASSERT_EQ(EndedEarlyFiles().size(), 1u) << file << " cut at " << cut;
            EXPECT_EQ(EndedEarlyFiles()[0].path, "cut.dat");
            EXPECT_EQ(EndedEarlyFiles()[0].noHeader, cut < 4);
        }
    }
}

TEST(EndedEarly, WhereTheFileEnded)
{
    TempDir dir;
    struct Row { std::vector<uint8_t> bytes; const char* where; };
    const Row rows[] = {
        {{}, "ends at byte 0 of its version header"},
        {Bytes().u32(340).u8(1).data, "ends at byte 1 of its record count"},
        // A count of 3 with 4 bytes for them: the first record is cut.
        {Bytes().u32(340).u32(3).u32(0).data, "ends at byte 4 of record 1 of the 3 its count promises"},
    };
    for (const Row& r : rows) {
        WriteFile("Class.dat", r.bytes);
        ClearEndedEarlyFiles();
        RecordList<cClass> list;
        ASSERT_EQ(LoadListFile(list, "Class.dat"), 1);
        ASSERT_EQ(EndedEarlyFiles().size(), 1u) << r.where;
        EXPECT_EQ(EndedEarlyFiles()[0].where, r.where);
    }
}

// Counts the flushes a save asks for.
struct SyncLog {
    SyncLog()
    {
        old = SetSyncObserver([this](const std::string& path, bool folder) {
            (folder ? folders : files).push_back(path);
            if (!folder)
                targetAtFileSync.push_back(ReadFile(path.substr(0, path.size() - std::string(".saving~").size())));
        });
    }
    ~SyncLog() { SetSyncObserver(std::move(old)); }
    std::vector<std::string> files, folders;
    std::vector<std::vector<uint8_t>> targetAtFileSync;
    SyncObserver old;
};

TEST(DurableSave, TheFileIsFlushedBeforeTheRenameAndEachFolderOncePerSave)
{
    TempDir dir;
    fs::create_directories("a");
    fs::create_directories("b");
    WriteFile("a/one.dat", {9, 9});
    cClass record;
    {
        SyncLog log;
        ASSERT_EQ(record.SaveFile("a\\one.dat"), 1);
        ASSERT_EQ(log.files.size(), 1u);
        EXPECT_EQ(log.files[0], "a/one.dat.saving~");
        // At the flush the target still held the old bytes: the rename came after.
        EXPECT_EQ(log.targetAtFileSync[0], (std::vector<uint8_t>{9, 9}));
        EXPECT_EQ(log.folders, std::vector<std::string>{"a"});
    }
    {
        SyncLog log;
        std::optional<DurableSaveScope> scope(std::in_place);
        for (const char* path : {"a\\1.dat", "a\\2.dat", "b\\3.dat", "a\\4.dat"})
            ASSERT_EQ(record.SaveFile(path), 1);
        EXPECT_EQ(log.files.size(), 4u);
        {
            DurableSaveScope inner;
        }
        EXPECT_TRUE(log.folders.empty());  // flushed when the outermost scope ends
        scope.reset();
        EXPECT_EQ(log.folders, (std::vector<std::string>{"a", "b"}));
    }
}

TEST(HostWrite, ALinkStaysALinkAndLeftoversGo)
{
    TempDir dir;
    fs::create_directories("real");
    WriteFile("real/one.dat", {1});
    fs::create_symlink("real/one.dat", "one.dat");
    WriteFile("real/one.dat.saving~", {7, 7, 7});  // left by a killed save
    cClass record;
    record.m_Name = "x";
    ASSERT_EQ(record.SaveFile("one.dat"), 1);
    EXPECT_TRUE(fs::is_symlink("one.dat"));
    EXPECT_FALSE(fs::exists("real/one.dat.saving~"));
    cClass again;
    ASSERT_EQ(again.LoadFile("real\\one.dat"), 1);
    EXPECT_EQ(again.m_Name, "x");
}

TEST(HostWrite, FailuresNameTheFileAndTheReason)
{
    TempDir dir;
    cClass record;
    struct Row { std::string stored; const char* reason; };
    const Row rows[] = {
        {"nofolder\\x.dat", "No such file or directory"},
        // Bytes that are no CP932 text have no host name.
        {std::string("data\\\x85\x40\xFD.stg2"), "ファイル名を変換できません"},
    };
    for (const Row& r : rows) {
        ClearWriteFailures();
        EXPECT_EQ(record.SaveFile(r.stored), 0);
        ASSERT_EQ(WriteFailures().size(), 1u) << r.reason;
        EXPECT_EQ(WriteFailures()[0].storedPath, r.stored);
        EXPECT_EQ(WriteFailures()[0].reason, Utf8ToCp932(r.reason));
    }
    ClearWriteFailures();
}

// A read-only folder: the old file stays byte for byte, the failure names it.
TEST(HostWrite, ReadOnlyFolderKeepsTheOldFile)
{
    TempDir dir;
    fs::create_directories("ro");
    if (geteuid() == 0) {
        if (mount("vantor-test", "ro", "tmpfs", 0, nullptr) != 0)
            GTEST_SKIP() << "cannot mount a tmpfs here (" << std::strerror(errno) << "); read-only write not tested";
    }
    struct Unmount {
        ~Unmount()
        {
            if (geteuid() == 0)
                umount("ro");
            else
                fs::permissions("ro", fs::perms::owner_all);
        }
    } unmount;
    cClass record;
    record.m_Name = "old";
    ASSERT_EQ(record.SaveFile("ro\\Class.dat"), 1);
    const std::vector<uint8_t> before = ReadFile("ro/Class.dat");
    if (geteuid() == 0)
        ASSERT_EQ(mount("vantor-test", "ro", "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0) << std::strerror(errno);
    else
        fs::permissions("ro", fs::perms::owner_read | fs::perms::owner_exec);
    record.m_Name = "new";
    ClearWriteFailures();
    EXPECT_EQ(record.SaveFile("ro\\Class.dat"), 0);
    EXPECT_EQ(ReadFile("ro/Class.dat"), before);
    ASSERT_EQ(WriteFailures().size(), 1u);
    EXPECT_EQ(WriteFailures()[0].storedPath, "ro\\Class.dat");
    EXPECT_EQ(WriteFailures()[0].hostPath, "ro/Class.dat");
    EXPECT_EQ(WriteFailures()[0].reason, geteuid() == 0 ? "Read-only file system" : "Permission denied");
    ClearWriteFailures();
}

// Every file under the current directory with its bytes.
std::map<std::string, std::vector<uint8_t>> Snapshot()
{
    std::map<std::string, std::vector<uint8_t>> files;
    for (auto it = fs::recursive_directory_iterator("."); it != fs::recursive_directory_iterator(); ++it) {
        std::error_code ec;
        if (it->is_symlink(ec) || !it->is_regular_file(ec))
            files[it->path().string()] = {};
        else
            files[it->path().string()] = ReadFile(it->path().string());
    }
    return files;
}

// Odd things in place of the project's class table: a refused file fails the
// load with the message naming it; a short one loads, is reported once in a box
// and the report log, and stops the upgrade from writing anything.
TEST(OddProjectFiles, RefusedOrReportedAndNothingChanged)
{
    TempDir dir;
    TimeLimit limit(120);
    ASSERT_EQ(WriteDefaultProject(dir.Path().string(), false), 1);
    const std::string classHost = "data/database/Class.dat";
    const std::vector<uint8_t> whole = ReadFile(classHost);
    // Where the first class's name lies, to cut inside it.
    RecordList<cClass> classes;
    ASSERT_EQ(LoadListFile(classes, "data\\database\\Class.dat"), 1);
    ASSERT_GE(classes[0].m_Name.size(), 2u);
    const std::size_t name = std::string(whole.begin(), whole.end()).find(classes[0].m_Name);
    ASSERT_NE(name, std::string::npos);
    const std::size_t insideString = name + 1;

    struct Row { const char* what; std::optional<Odd> odd; std::size_t cut; };
    const Row rows[] = {
        {"directory", Odd::Directory, 0},       {"fifo", Odd::Fifo, 0},
        {"link to /dev/zero", Odd::DevZeroLink, 0}, {"link loop", Odd::LinkLoop, 0},
        {"0 bytes", std::nullopt, 0},            {"inside the header", std::nullopt, 2},
        {"inside the count", std::nullopt, 6},   {"inside a string", std::nullopt, insideString},
    };
    const std::string missing = StrPrintf(
        SJ("%s の読み込みに失敗しました！\nこのファイルが存在しない場合は「default」フォルダから「data」フォルダへ同名のファイルをコピーして下さい。").c_str(),
        "data\\database\\Class.dat");
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fs::remove(classHost);
        fs::remove(classHost + ".other");
        if (r.odd)
            MakeOdd(*r.odd, classHost);
        else
            WriteFile(classHost, std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(r.cut)));
        ResetProject();
        fs::remove("report.txt");
        ASSERT_TRUE(OpenReportLog("report.txt"));
        const auto before = Snapshot();
        RecordingSink sink;
        ClearEndedEarlyFiles();
        ProjectLoadOptions options;
        options.images = false;
        const int loaded = LoadProject(options);
        if (r.odd) {
            EXPECT_EQ(loaded, 0);
            ASSERT_EQ(sink.texts.size(), 1u);
            EXPECT_EQ(sink.texts[0], missing);
        } else {
            EXPECT_EQ(loaded, 1);
            ASSERT_EQ(EndedEarlyFiles().size(), 1u);
            EXPECT_EQ(EndedEarlyFiles()[0].path, "data\\database\\Class.dat");
            EXPECT_EQ(UpgradeProjectFiles(), -1);
            ReportEndedEarlyFiles();
            ReportEndedEarlyFiles();  // once only
            const std::string text =
                SJ("次のファイルは途中で終わっています。読めなかった部分は既定値になります。保存すると上書きされます。") +
                "\ndata\\database\\Class.dat";
            ASSERT_EQ(sink.texts.size(), 1u);
            EXPECT_EQ(sink.texts[0], text);
        }
        CloseReportLog();
        const auto after = Snapshot();
        auto withoutLog = [](auto files) { files.erase("./report.txt"); return files; };
        EXPECT_EQ(withoutLog(before), withoutLog(after));
        if (!r.odd) {
            const std::vector<uint8_t> log = ReadFile("report.txt");
            EXPECT_NE(std::string(log.begin(), log.end()).find("data\\database\\Class.dat"), std::string::npos);
        }
    }
    // Forced, the upgrade writes what it read.
    ResetProject();
    RecordingSink sink;
    ClearEndedEarlyFiles();
    ProjectLoadOptions options;
    options.images = false;
    ASSERT_EQ(LoadProject(options), 1);
    EXPECT_EQ(UpgradeProjectFiles(true), 1);
    EXPECT_NE(ReadFile(classHost).size(), insideString);
    ClearEndedEarlyFiles();
    SetTableSource(nullptr);
    SetCharaContext(nullptr);
    ResetProject();
}

}  // namespace
