// vantor-data: checks, upgrades, dumps and builds the project's record files.
//
//   vantor-data dump FILE [--type NAME]          record file -> JSON on stdout
//   vantor-data build JSON FILE [--type NAME]    JSON -> record file (version 340)
//   vantor-data check FILE...                    loads each file, prints its version
//   vantor-data upgrade FILE...                  loads each file and writes it at 340
//   vantor-data types                            the known file names
//
// Errors print one line on stderr and exit with status 2.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/log.h"
#include "app/paths.h"
#include "records/file_kinds.h"
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
                 "       vantor-data upgrade FILE...\n"
                 "       vantor-data types\n");
}

bool Exists(const std::string& hostPath)
{
    std::ifstream f(hostPath, std::ios::binary);
    return f.good();
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
    if (!Exists(hostPath)) {
        error = "cannot open " + hostPath;
        return nullptr;
    }
    auto object = kind->make();
    if (!object->Load(StoredPath(hostPath))) {
        error = VersionTooNew ? hostPath + ": version " + std::to_string(LoadedFileVersion) +
                                    " is newer than " + std::to_string(CurrentVersion)
                              : "cannot read " + hostPath;
        return nullptr;
    }
    return object;
}

int Dump(const std::string& file, const std::string& type)
{
    const RecordFileKind* kind;
    std::string error;
    auto object = Load(file, type, kind, error);
    if (!object)
        return Fail(error);
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
    Json doc = Json::parse(text.str(), nullptr, false);
    if (doc.is_discarded() || !doc.is_object())
        return Fail(jsonFile + ": malformed JSON");
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
    if (!object->Save(StoredPath(file)))
        return Fail("cannot write " + file);
    return 0;
}

int Check(const std::vector<std::string>& files, bool upgrade)
{
    int status = 0;
    for (const std::string& file : files) {
        const RecordFileKind* kind;
        std::string error;
        auto object = Load(file, "", kind, error);
        if (!object) {
            Fail(error);
            status = kFailure;
            continue;
        }
        uint32_t version = LoadedFileVersion;
        if (upgrade) {
            if (!object->Save(StoredPath(file))) {
                Fail("cannot write " + file);
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

}  // namespace

int main(int argc, char** argv)
{
    CurrentVersion = kDataVersion;
    std::vector<std::string> args;
    std::string type;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--type") {
            if (i + 1 >= argc)
                return Fail("--type needs a name");
            type = argv[++i];
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
        if ((command == "check" || command == "upgrade") && args.size() >= 2)
            return Check(std::vector<std::string>(args.begin() + 1, args.end()), command == "upgrade");
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
