// The record files the data tool knows, by file name.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "records/serial.h"

// One loaded record file: a single record or a record list.
class RecordFileObject {
public:
    virtual ~RecordFileObject() = default;
    virtual int Load(const std::string& path) = 0;
    virtual int Save(const std::string& path) = 0;
    virtual Json ToJson() = 0;
    virtual bool FromJson(const Json& json, std::string& error) = 0;
};

template <class T>
class SingleRecordFile : public RecordFileObject {
public:
    int Load(const std::string& path) override { return record.LoadFile(path); }
    int Save(const std::string& path) override { return record.SaveFile(path); }
    Json ToJson() override { return record.ToJson(); }
    bool FromJson(const Json& json, std::string& error) override { return record.FromJson(json, error); }
    T record;
};

template <class T>
class ListRecordFile : public RecordFileObject {
public:
    int Load(const std::string& path) override { return LoadListFile(list, path); }
    int Save(const std::string& path) override { return SaveListFile(list, path); }
    Json ToJson() override
    {
        Json array = Json::array();
        for (T& item : list)
            array.push_back(item.ToJson());
        return array;
    }
    bool FromJson(const Json& json, std::string& error) override
    {
        if (!json.is_array()) {
            error = "expected an array of records";
            return false;
        }
        RecordList<T> result;
        result.resize(static_cast<int>(json.size()));
        for (std::size_t i = 0; i < json.size(); ++i)
            if (!result[static_cast<long long>(i)].FromJson(json[i], error)) {
                error = "[" + std::to_string(i) + "] " + error;
                return false;
            }
        list = std::move(result);
        return true;
    }
    RecordList<T> list;
};

struct RecordFileKind {
    const char* fileName;  // as in the project ("EditConfig.dat"); also the --type name
    bool isList;
    std::unique_ptr<RecordFileObject> (*make)();
};

// Every kind, in the order of the project's file table.
const std::vector<RecordFileKind>& RecordFileKinds();
// The kind for a type name or a file's name (case-insensitive); null when unknown.
const RecordFileKind* FindRecordFileKind(const std::string& nameOrPath);
