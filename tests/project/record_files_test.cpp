// Every record file kind the data tool knows, read from stored files of several
// versions: each must give the stored dump, and each cut short at every byte must
// read without harm into the stored result.
//
// The files under tests/project/record_data/ were written from the samples of
// tests/tools/data at each version (members of that version, in its order; an
// obsolete member has no value behind it there, so the next value is read as
// it). Setting VANTOR_WRITE_RECORD_DATA=1 writes them again instead of checking:
// do that only when the file format itself changes on purpose.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "base/paths.h"
#include "project/file_kinds.h"
#include "records/json_text.h"
#include "records/tables.h"
#include "tests/test_util.h"

namespace fs = std::filesystem;

namespace {

const uint32_t kVersions[] = {340, 232, 124, 60, 8};

const fs::path& DataDir()
{
    static const fs::path dir = fs::path(VANTOR_SOURCE_DIR) / "tests" / "project" / "record_data";
    return dir;
}

bool Writing()
{
    const char* v = std::getenv("VANTOR_WRITE_RECORD_DATA");
    return v && *v && std::string(v) != "0";
}

std::string ReadText(const fs::path& path)
{
    std::ifstream f(path, std::ios::binary);
    std::stringstream text;
    text << f.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream f(path, std::ios::binary);
    f << text;
}

// The file name a kind's files get: its own name, "Stage.stg2" for stages.
std::string FileName(const RecordFileKind& kind)
{
    std::string name = kind.fileName;
    return name == "*.stg2" ? "Stage.stg2" : name;
}

// The sample a kind's files are made from: the JSON of tests/tools/data of that
// type (the event palette's for default.plt, which holds the same records).
Json Sample(const RecordFileKind& kind)
{
    std::string want = kind.fileName == std::string("default.plt") ? "EventPlt.dat" : kind.fileName;
    for (const auto& entry : fs::directory_iterator(fs::path(VANTOR_SOURCE_DIR) / "tests" / "tools" / "data")) {
        Json doc = Json::parse(ReadText(entry.path()));
        if (doc["type"] == want)
            return doc;
    }
    ADD_FAILURE() << "no sample for " << kind.fileName;
    return Json();
}

// The dump the data tool prints for a loaded file.
std::string Dump(const RecordFileKind& kind, RecordFileObject& object)
{
    Json doc = Json::object();
    doc["type"] = kind.fileName;
    doc["version"] = LoadedFileVersion;
    doc[kind.isList ? "list" : "record"] = object.ToJson();
    return JsonText(doc);
}

uint64_t Fnv(uint64_t h, const std::vector<uint8_t>& bytes)
{
    for (uint8_t b : bytes) {
        h ^= b;
        h *= 1099511628211ULL;
    }
    return h;
}

// Single-file state every read consults, as the data tool has it.
class RecordFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        oldTables_ = SetTableSource(nullptr);
        CurrentVersion = kDataVersion;
        NormalizeOnLoad = false;
    }
    void TearDown() override
    {
        SetTableSource(oldTables_);
        CurrentVersion = kDataVersion;
    }
    const TableSource* oldTables_ = nullptr;
    TempDir temp_;
};

TEST_F(RecordFiles, EveryKindAndVersionDumpsAsStored)
{
    for (const RecordFileKind& kind : RecordFileKinds()) {
        for (uint32_t version : kVersions) {
            SCOPED_TRACE(std::string(kind.fileName) + " version " + std::to_string(version));
            fs::path folder = DataDir() / ("v" + std::to_string(version));
            fs::path file = folder / FileName(kind);
            fs::path dump = folder / (FileName(kind) + ".json");
            if (Writing()) {
                Json sample = Sample(kind);
                auto source = kind.make();
                std::string error;
                ASSERT_TRUE(source->FromJson(sample[kind.isList ? "list" : "record"], error)) << error;
                fs::create_directories(folder);
                CurrentVersion = version;
                ASSERT_TRUE(source->Save(StoredPath(file.string())));
                CurrentVersion = kDataVersion;
            }
            auto object = kind.make();
            ASSERT_TRUE(object->Load(StoredPath(file.string())));
            EXPECT_EQ(LoadedFileVersion, version);
            std::string text = Dump(kind, *object);
            if (Writing())
                WriteText(dump, text);
            EXPECT_EQ(text, ReadText(dump));
        }
    }
}

// Each file of version 340, cut after every byte, read into a fresh object and
// over one holding the whole file. What the second then holds (written back) is
// summed per kind into one hash: a changed hash means a member no longer keeps
// its value when the file ends before it, or a list re-read over an old one ends
// differently.
TEST_F(RecordFiles, CutAtEveryByteReadsAsBefore)
{
    std::map<std::string, std::string> stored;
    {
        std::istringstream lines(ReadText(DataDir() / "cut_hashes.txt"));
        std::string name, hash;
        while (lines >> name >> hash)
            stored[name] = hash;
    }
    std::string written;
    for (const RecordFileKind& kind : RecordFileKinds()) {
        std::string key = "v340/" + FileName(kind);
        SCOPED_TRACE(key);
        std::vector<uint8_t> whole = ReadFile((DataDir() / key).string());
        ASSERT_FALSE(whole.empty());
        WriteFile("whole.dat", whole);
        uint64_t hash = 14695981039346656037ULL;
        for (std::size_t cut = 0; cut < whole.size(); ++cut) {
            WriteFile("cut.dat", std::vector<uint8_t>(whole.begin(), whole.begin() + static_cast<long>(cut)));
            auto fresh = kind.make();
            auto over = kind.make();
            ASSERT_TRUE(over->Load("whole.dat"));
            std::vector<uint8_t> results = {static_cast<uint8_t>(fresh->Load("cut.dat")),
                                            static_cast<uint8_t>(over->Load("cut.dat"))};
            ASSERT_TRUE(over->Save("over.out"));
            hash = Fnv(Fnv(hash, results), ReadFile("over.out"));
        }
        char text[17];
        std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
        written += key + " " + text + "\n";
        if (!Writing()) {
            EXPECT_EQ(stored[key], text);
        }
    }
    if (Writing())
        WriteText(DataDir() / "cut_hashes.txt", written);
}

}  // namespace
