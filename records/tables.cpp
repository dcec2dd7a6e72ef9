#include "records/tables.h"

namespace {
const TableSource* g_source = nullptr;
}

const TableSource* SetTableSource(const TableSource* source)
{
    const TableSource* old = g_source;
    g_source = source;
    return old;
}

int TableSize(Table table) { return g_source ? g_source->Size(table) : -1; }
int SkillCount(int group) { return g_source ? g_source->SkillCount(group) : -1; }
int CategoryCount(int group) { return g_source ? g_source->CategoryCount(group) : -1; }
std::string TableName(Table table, int index) { return g_source ? g_source->Name(table, index) : std::string(); }
std::string SkillName(int group, int skill) { return g_source ? g_source->SkillName(group, skill) : std::string(); }
