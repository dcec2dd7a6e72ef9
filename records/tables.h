// The project's tables as records see them: how many entries each holds (for
// the clamping of position references on load and save) and the names shown in
// summaries.
//
// The project installs a TableSource over its live tables. Without one every
// table is unknown (size -1): records then leave references as they are, which
// is what the data tool wants when it works on a single file.
#pragma once

#include <string>
#include <vector>

enum class Table {
    Class,
    Friend,
    Enemy,
    SkillList,
    Land,
    CompatiType,
    PartyVal,
    CharaAnim,
    EffectAnim,
    Picture,
    Back,
    Sound,
    Bgm,
    Help,
    Element,          // elements of the system record
    Category,         // skill categories of the system record
    ParamInfo,        // parameter names of the system record
    MoveAITemplate,
    GlobalVariable,   // common-variable names (always 1000)
    PositionGroup,    // position groups of the stage being edited
    WorldChip,        // world chips of the world map
    StageWidth,       // the stage being edited: its width in cells (its columns)
    StageHeight,      // the stage being edited: its height in cells (its rows)
    Count_
};

class TableSource {
public:
    virtual ~TableSource() = default;
    // Number of entries of a table; -1 when unknown.
    virtual int Size(Table table) const = 0;
    // Number of skills in a skill group; -1 when unknown.
    virtual int SkillCount(int group) const = 0;
    // Number of categories of a skill group; -1 when unknown.
    virtual int CategoryCount(int) const { return -1; }
    // The name (CP932) of an entry; empty when there is none.
    virtual std::string Name(Table table, int index) const = 0;
    virtual std::string SkillName(int group, int skill) const = 0;
};

// Installs the source; nullptr makes every table unknown. Returns the old one.
const TableSource* SetTableSource(const TableSource* source);

int TableSize(Table table);
int SkillCount(int group);
int CategoryCount(int group);
std::string TableName(Table table, int index);
std::string SkillName(int group, int skill);

// True when the table is known and index is not below its size.
inline bool BeyondTable(long long index, Table table)
{
    int n = TableSize(table);
    return n >= 0 && index >= n;
}

// A source with fixed sizes, for tests and tools.
class FixedTableSource : public TableSource {
public:
    FixedTableSource() { for (int& n : sizes) n = -1; }
    int Size(Table table) const override { return sizes[static_cast<int>(table)]; }
    int SkillCount(int) const override { return skillCount; }
    int CategoryCount(int group) const override
    {
        return group >= 0 && group < static_cast<int>(categoryCounts.size()) ? categoryCounts[group] : -1;
    }
    std::string Name(Table, int) const override { return {}; }
    std::string SkillName(int, int) const override { return {}; }

    int sizes[static_cast<int>(Table::Count_)];
    int skillCount = -1;
    std::vector<int> categoryCounts;  // per skill group; groups beyond are unknown
};
