// The sizes of the project's tables, as records see them when they clamp their
// position references on load and save.
//
// A size of -1 means the table is not known (the data tool working on a single
// file): records then leave references to it as they are.
#pragma once

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
    Element,
    Category,
    MoveAITemplate,
    GlobalVariable,
    Count_
};

using TableSizeSource = int (*)(Table table);

// Installs the source of table sizes; nullptr makes every table unknown.
void SetTableSizeSource(TableSizeSource source);
// The current number of entries of a table, -1 when unknown.
int TableSize(Table table);
// True when the table is known and index is not below its size.
inline bool BeyondTable(long long index, Table table)
{
    int n = TableSize(table);
    return n >= 0 && index >= n;
}
