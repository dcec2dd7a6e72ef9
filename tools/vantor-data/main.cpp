// vantor-data: checks, upgrades, dumps and builds the project's record files.
//
//   vantor-data dump FILE [--type NAME]          record file -> JSON on stdout
//   vantor-data build JSON FILE [--type NAME]    JSON -> record file (version 340)
//   vantor-data check FILE...                    loads each file, prints its version
//   vantor-data upgrade FILE...                  loads each file and writes it at 340
//   vantor-data check [DIR]                      loads the project in DIR as the editor does
//   vantor-data upgrade [DIR]                    loads the project and writes all of it at 340
//   (check and upgrade: a file that ends early is named on stderr and the status
//   is 1; upgrade then writes nothing unless --force is given)
//   vantor-data new-project DIR                  writes the starter project into DIR
//   vantor-data types                            the known file names
//   vantor-data csv-export DIR N                 skill group N -> DIR\csv\SkillNN.csv
//   vantor-data csv-import DIR N                 DIR\csv\SkillNN.csv -> skill group N, Skill.dat
//   vantor-data smf IN OUT                       a MIDI file merged into one track
//   vantor-data render IN OUT.wav [--seconds S] [--loop] [--volume V]
//                                                plays music or a wave into a WAV file
//
// Errors print one line on stderr and exit with status 2 (a failed write: one
// line per file with the stored path, the host path and the system's reason); a
// project that does not load prints the editor's message and exits with status 1.
// dump finds the kind also from a copy named like "XyZ12_Class.dat", as git hands
// to a textconv driver.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <filesystem>

#include "base/host_file.h"
#include "base/log.h"
#include "base/heap.h"
#include "base/paths.h"
#include "app/startup.h"
#include "base/text.h"
#include "database/csv.h"
#include "database/csv_commands.h"
#include "media/sound_render.h"
#include "project/default_project.h"
#include "project/file_kinds.h"
#include "project/project.h"
#include "records/json_text.h"
#include "records/serial.h"

namespace {

constexpr int kFailure = 2;

int Fail(const std::string& message)
{
    std::fprintf(stderr, "vantor-data: %s\n", message.c_str());
    return kFailure;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: vantor-data dump FILE [--type NAME]\n"
                 "       vantor-data build JSON FILE [--type NAME]\n"
                 "       vantor-data check FILE...\n"
                 "       vantor-data upgrade [--force] FILE...\n"
                 "       vantor-data check [DIR]\n"
                 "       vantor-data upgrade [--force] [DIR]\n"
                 "       vantor-data new-project DIR\n"
                 "       vantor-data types\n"
                 "       vantor-data csv-export DIR N\n"
                 "       vantor-data csv-import DIR N\n"
                 "       vantor-data smf IN OUT\n"
                 "       vantor-data render IN OUT.wav [--seconds S] [--loop] [--volume V]\n");
}

constexpr int kProblems = 1;

// One line per file that ended early, on stderr; true when there was any.
bool PrintEndedEarly()
{
    for (const EndedEarlyFile& file : EndedEarlyFiles())
        std::fprintf(stderr, "%s: %s\n", Cp932ToUtf8(file.path).c_str(), file.where.c_str());
    return !EndedEarlyFiles().empty();
}

// One line per failed write: stored path, host path and the system's reason.
void PrintWriteFailures()
{
    for (const WriteFailure& f : WriteFailures())
        std::fprintf(stderr, "vantor-data: cannot write %s (%s): %s\n", Cp932ToUtf8(f.storedPath).c_str(),
                     f.hostPath.c_str(), Cp932ToUtf8(f.reason).c_str());
    ClearWriteFailures();
}

// Loads a record file of the given (or guessed) kind; message on failure.
std::unique_ptr<RecordFileObject> Load(const std::string& hostPath, const std::string& type, const RecordFileKind*& kind,
                                       std::string& error)
{
    kind = FindRecordFileKind(type.empty() ? hostPath : type);
    if (!kind) {
        error = type.empty() ? "unknown record file kind: " + hostPath + " (use --type)" : "unknown type: " + type;
        return nullptr;
    }
    auto object = kind->make();
    if (!object->Load(StoredPath(hostPath))) {
        error = VersionTooNew ? hostPath + ": version " + std::to_string(LoadedFileVersion) +
                                    " is newer than " + std::to_string(CurrentVersion)
                              : "cannot read " + hostPath + ": " + LastReadError;
        return nullptr;
    }
    return object;
}

int Dump(const std::string& file, const std::string& type)
{
    const RecordFileKind* kind;
    std::string error;
    ClearEndedEarlyFiles();
    auto object = Load(file, type, kind, error);
    if (!object)
        return Fail(error);
    if (!EndedEarlyFiles().empty() && EndedEarlyFiles().front().noHeader)
        return Fail(file + ": not a record file (no complete version header)");
    // A file cut short is still shown (what could not be read has its default),
    // with one line saying so.
    PrintEndedEarly();
    Json doc = Json::object();
    doc["type"] = kind->fileName;
    doc["version"] = LoadedFileVersion;
    doc[kind->isList ? "list" : "record"] = object->ToJson();
    std::string text = JsonText(doc);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

int Build(const std::string& jsonFile, const std::string& file, const std::string& type)
{
    std::ifstream in(jsonFile, std::ios::binary);
    if (!in)
        return Fail("cannot open " + jsonFile);
    std::stringstream text;
    text << in.rdbuf();
    // Strict: nothing but white space may follow the value.
    Json doc = Json::parse(text.str(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
        return Fail(jsonFile + ": malformed JSON");
    if (doc.contains("type") && !doc["type"].is_string())
        return Fail(jsonFile + ": \"type\" is not a string");
    if (doc.contains("version") && !doc["version"].is_number_unsigned())
        return Fail(jsonFile + ": \"version\" is not a number");
    std::string typeName = type;
    if (typeName.empty() && doc.contains("type") && doc["type"].is_string())
        typeName = doc["type"].get<std::string>();
    const RecordFileKind* kind = FindRecordFileKind(typeName.empty() ? file : typeName);
    if (!kind)
        return Fail("unknown record file kind: " + (typeName.empty() ? file : typeName));
    const char* key = kind->isList ? "list" : "record";
    if (!doc.contains(key))
        return Fail(jsonFile + ": no \"" + key + "\" member");
    auto object = kind->make();
    std::string error;
    if (!object->FromJson(doc[key], error))
        return Fail(jsonFile + ": " + error);
    ClearWriteFailures();
    if (!object->Save(StoredPath(file))) {
        PrintWriteFailures();
        return kFailure;
    }
    return 0;
}

int Check(const std::vector<std::string>& files, bool upgrade, bool force)
{
    int status = 0;
    for (const std::string& file : files) {
        const RecordFileKind* kind;
        std::string error;
        ClearEndedEarlyFiles();
        auto object = Load(file, "", kind, error);
        if (!object) {
            Fail(error);
            status = kFailure;
            continue;
        }
        uint32_t version = LoadedFileVersion;
        if (PrintEndedEarly() && !(upgrade && force)) {
            if (status == 0)
                status = kProblems;
            continue;
        }
        if (upgrade) {
            ClearWriteFailures();
            if (!object->Save(StoredPath(file))) {
                PrintWriteFailures();
                status = kFailure;
                continue;
            }
            std::printf("%s: %s, version %u -> %u\n", file.c_str(), kind->fileName, version, CurrentVersion);
        } else {
            std::printf("%s: %s, version %u, ok\n", file.c_str(), kind->fileName, version);
        }
    }
    return status;
}

// Boxes of the project load go to stderr as plain text, one message each.
class PlainSink : public MessageSink {
public:
    Answer Box(const std::string& text, const std::string&, Buttons buttons) override
    {
        std::fprintf(stderr, "%s\n", Cp932ToUtf8(text).c_str());
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

int StageCount()
{
    std::vector<std::string> files;
    ListFiles(ProjectFile::StageFolder, "stg2", files);
    return static_cast<int>(files.size());
}

int CheckProject(const std::string& dir, bool upgrade, bool force)
{
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec)
        return Fail("cannot open the folder " + dir);
    PlainSink sink;
    MessageSink* old = SetMessageSink(&sink);
    ClearEndedEarlyFiles();
    if (upgrade) {
        LoadEditorSettings();
        // Read as start-up reads it; written back only when it was read.
        LoadSheetSize();
    } else if (!EditConfig().LoadFile(ProjectFile::EditConfig)) {
        // Without touching anything: the old place of the settings, or defaults.
        if (!EditConfig().LoadFile(ProjectFile::OldEditConfig))
            EditConfig().NewSettings();
    }
    LoadRandomNames();
    ProjectLoadOptions options;
    options.images = false;
    int loaded = LoadProject(options);
    SetMessageSink(old);
    if (!loaded)
        return 1;
    Project& p = TheProject();
    const cDatabase& db = p.m_Database;
    std::printf("%s: classes %d, allies %d, enemies %d, skill groups %d, lands %d, elements %d, "
                "categories %d, parameters %d, compatibility types %d, party values %d, "
                "pictures %d, backgrounds %d, sounds %d, music %d, help %d, character animations %d, "
                "effect animations %d, movement-AI templates %d, event palette %d, action palette %d, "
                "world chips %d, world events %d, stages %d\n",
                dir.c_str(), p.m_Classes.size(), p.m_Friends.size(), p.m_Enemies.size(), p.m_SkillLists.size(),
                p.m_Lands.size(), p.m_System.m_Elems.size(), p.m_System.m_Categs.size(), p.m_System.m_Params.size(),
                db.m_CompatiTypes.size(),
                db.m_PtVals.size(), db.m_Pictures.size(), db.m_Backs.size(), db.m_Sounds.size(), db.m_Bgms.size(),
                db.m_Helps.size(), db.m_CharaAnims.size(), db.m_EffectAnims.size(), p.m_MoveAITemplates.size(),
                p.m_EventPalette.size(), p.m_ActionPalette.size(), p.m_WorldMap.m_Chips.size(),
                p.m_WorldMap.m_Events.size(), StageCount());
    if (!upgrade)
        return PrintEndedEarly() ? kProblems : 0;
    ClearWriteFailures();
    const int upgraded = UpgradeProjectFiles(force);
    if (upgraded < 0) {
        PrintEndedEarly();
        std::fprintf(stderr, "vantor-data: %s: files end early; nothing written (--force writes them anyway)\n",
                     dir.c_str());
        return kProblems;
    }
    PrintEndedEarly();  // written anyway, as --force asked
    if (!upgraded) {
        PrintWriteFailures();
        return kFailure;
    }
    std::printf("%s: upgraded to version %u\n", dir.c_str(), CurrentVersion);
    return 0;
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

// The skill group CSV exchange through the editor's commands. The project is
// loaded as check loads it; every question is answered Yes (the database on
// disk is already saved) and every message goes to stderr. A refused export
// or import writes nothing and ends with status 1.
class YesSink : public MessageSink {
public:
    Answer Box(const std::string& text, const std::string&, Buttons buttons) override
    {
        if (buttons != Buttons::Ok)
            return Answer::Yes;
        std::fprintf(stderr, "%s\n", Cp932ToUtf8(text).c_str());
        return Answer::Ok;
    }
};

int SkillCsv(const std::string& dir, const std::string& number, bool import)
{
    char* end = nullptr;
    long n = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0' || n < 1)
        return Fail("the file number must be 1 or more: " + number);
    std::error_code ec;
    std::filesystem::current_path(dir, ec);
    if (ec)
        return Fail("cannot open the folder " + dir);
    YesSink sink;
    MessageSink* old = SetMessageSink(&sink);
    struct Restore {
        MessageSink* old;
        ~Restore() { SetMessageSink(old); }
    } restore{old};
    if (!EditConfig().LoadFile(ProjectFile::EditConfig) && !EditConfig().LoadFile(ProjectFile::OldEditConfig))
        EditConfig().NewSettings();
    LoadRandomNames();
    BuildSkillCsvColumns();
    ProjectLoadOptions options;
    options.images = false;
    if (!LoadProject(options))
        return 1;
    Project& p = TheProject();
    if (n > p.m_SkillLists.size())
        return Fail("no skill group " + number + " (the project has " + std::to_string(p.m_SkillLists.size()) + ")");
    const int group = static_cast<int>(n - 1);
    const auto run = import ? &ImportSkillCsvCommand : &ExportSkillCsvCommand;
    if (run(p.m_SkillLists, group, {}, CsvDoneBox::Omit) != CsvCommandResult::Done)
        return 1;
    const cSkillList& list = p.m_SkillLists[group];
    const std::string path = Cp932ToUtf8(SkillCsvPath(list));
    if (!import) {
        std::printf("%s: %d skills written\n", path.c_str(), list.m_Skills.size() - 1);
        return 0;
    }
    if (!SaveListFile(p.m_SkillLists, ProjectFile::Skill))
        return Fail(std::string("cannot write ") + ProjectFile::Skill);
    std::printf("%s: %d skills read into %s\n", path.c_str(), list.m_Skills.size() - 1, ProjectFile::Skill);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    KeepFreedHeapMemory();
    CurrentVersion = kDataVersion;
    std::vector<std::string> args;
    std::string type;
    RenderOptions render;
    bool force = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--force") {
            force = true;
        } else if (a == "--type") {
            if (i + 1 >= argc)
                return Fail("--type needs a name");
            type = argv[++i];
        } else if (a == "--seconds" || a == "--volume") {
            char* end = nullptr;
            double v = i + 1 < argc ? std::strtod(argv[i + 1], &end) : 0;
            if (i + 1 >= argc || end == argv[i + 1] || *end || !(v >= 0 && v <= (a == "--volume" ? 100 : 3600)))
                return Fail(a + " needs a number (volume 0 to 100, seconds up to 3600)");
            ++i;
            if (a == "--seconds")
                render.seconds = v;
            else
                render.volume = int(v);
        } else if (a == "--loop") {
            render.loop = true;
        } else {
            args.push_back(a);
        }
    }
    if (args.empty()) {
        Usage();
        return kFailure;
    }
    const std::string& command = args[0];
    try {
        if (command == "dump" && args.size() == 2)
            return Dump(args[1], type);
        if (command == "build" && args.size() == 3)
            return Build(args[1], args[2], type);
        if ((command == "check" || command == "upgrade") && (args.size() == 1 || (args.size() == 2 && IsFolder(args[1]))))
            return CheckProject(args.size() == 2 ? args[1] : ".", command == "upgrade", force);
        if (command == "new-project" && args.size() == 2) {
            if (!WriteDefaultProject(args[1]))
                return Fail("cannot write the project into " + args[1]);
            std::printf("%s: new project written\n", args[1].c_str());
            return 0;
        }
        if ((command == "check" || command == "upgrade") && args.size() >= 2)
            return Check(std::vector<std::string>(args.begin() + 1, args.end()), command == "upgrade", force);
        if ((command == "csv-export" || command == "csv-import") && args.size() == 3)
            return SkillCsv(args[1], args[2], command == "csv-import");
        if ((command == "smf" || command == "render") && args.size() == 3) {
            std::string failure;
            bool ok = command == "smf" ? WriteMergedSmf(args[1], args[2], failure)
                                       : RenderSoundFile(args[1], args[2], render, failure);
            return ok ? 0 : Fail(Cp932ToUtf8(failure));
        }
        if (command == "types" && args.size() == 1) {
            for (const RecordFileKind& kind : RecordFileKinds())
                std::printf("%s%s\n", kind.fileName, kind.isList ? " (list)" : "");
            return 0;
        }
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
    Usage();
    return kFailure;
}
