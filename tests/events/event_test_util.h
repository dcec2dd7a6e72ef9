// Helpers shared by the event tests: small named tables and hand-built actions.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "records/serial.h"
#include "records/tables.h"
#include "tests/test_util.h"

// Small project tables whose entries are named "<prefix><index>"; installed while
// the object lives. Skill group g holds g + 2 skills named "技g-s".
class NamedTables : public TableSource {
public:
    NamedTables()
    {
        sizes = {{Table::Picture, 5},       {Table::PositionGroup, 3}, {Table::StageWidth, 20},
                 {Table::StageHeight, 15},  {Table::Friend, 4},        {Table::Land, 6},
                 {Table::Sound, 12},        {Table::Bgm, 8},           {Table::SkillList, 3},
                 {Table::GlobalVariable, 1000}};
        old_ = SetTableSource(this);
    }
    ~NamedTables() override { SetTableSource(old_); }

    int Size(Table table) const override
    {
        auto it = sizes.find(table);
        return it == sizes.end() ? -1 : it->second;
    }
    int SkillCount(int group) const override
    {
        int lists = Size(Table::SkillList);
        return group >= 0 && group < lists ? group + 2 : -1;
    }
    std::string Name(Table table, int index) const override
    {
        static const std::map<Table, const char*> prefixes = {
            {Table::Picture, "絵"}, {Table::Friend, "仲間"},    {Table::Land, "地形"},
            {Table::Sound, "音"},   {Table::Bgm, "曲"},         {Table::SkillList, "リスト"},
            {Table::GlobalVariable, "変数"}};
        auto it = prefixes.find(table);
        if (it == prefixes.end() || index < 0 || index >= Size(table))
            return {};
        return Utf8ToCp932(it->second + std::to_string(index));
    }
    std::string SkillName(int group, int skill) const override
    {
        if (skill < 0 || skill >= SkillCount(group))
            return {};
        return Utf8ToCp932("技" + std::to_string(group) + "-" + std::to_string(skill));
    }

    std::map<Table, int> sizes;

private:
    const TableSource* old_;
};

// Sets LoadedFileVersion for a read by hand and puts it back afterwards.
class FileVersion {
public:
    explicit FileVersion(uint32_t v) : old_(LoadedFileVersion) { LoadedFileVersion = v; }
    ~FileVersion() { LoadedFileVersion = old_; }

private:
    uint32_t old_;
};

// An action body as a file of the given version holds it.
inline Bytes ActBody(uint32_t version, int32_t kind, const std::vector<int32_t>& ints,
                     const std::vector<std::string>& strings = {}, const std::vector<int32_t>& shopSkills = {})
{
    Bytes b;
    b.i32(kind).u32(static_cast<uint32_t>(ints.size()));
    for (int32_t v : ints)
        b.i32(v);
    b.u32(static_cast<uint32_t>(strings.size()));
    for (const std::string& s : strings)
        b.str(s);
    if (version < 55) {
        b.u32(static_cast<uint32_t>(shopSkills.size()));
        for (int32_t v : shopSkills)
            b.i32(v);
    }
    return b;
}

// Reads a record body from bytes as a file of the given version would hold it.
template <class R>
void ReadBody(R& record, uint32_t version, const std::vector<uint8_t>& bytes, std::size_t* left = nullptr)
{
    FileVersion v(version);
    RecordReader in(bytes);
    record.LoadBody(in);
    if (left)
        *left = in.Left();
}

// Writes a record body and reads it back at the current version.
template <class R>
R RoundTrip(R& record)
{
    RecordWriter out;
    record.SaveBody(out);
    R back;
    ReadBody(back, kDataVersion, out.Bytes());
    return back;
}

inline std::string Utf8(const std::string& cp932) { return Cp932ToUtf8(cp932); }
