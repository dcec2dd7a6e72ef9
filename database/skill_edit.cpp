#include "database/skill_edit.h"

namespace {

template <class T>
int PasteInto(RecordList<T>& list, int at, const std::vector<T>& records, int maxCount)
{
    if (at < 0 || at > list.size() || records.empty())
        return 0;
    int pasted = 0;
    for (const T& record : records) {
        if (list.size() >= maxCount)
            break;
        list.insert(at + pasted, record);
        ++pasted;
    }
    return pasted;
}

bool ValidGroup(const RecordList<cSkillList>& table, int group) { return group >= 0 && group < table.size(); }

}  // namespace

int InsertSkillGroup(RecordList<cSkillList>& table, int at)
{
    if (at < 0 || at > table.size() || table.size() >= kMaxSkillGroups)
        return 0;
    table.insert(at, cSkillList());
    RenumberSkillTable(table);
    return 1;
}

int DeleteSkillGroup(RecordList<cSkillList>& table, int at)
{
    if (at < 0 || at >= table.size() || table.size() <= 1)
        return 0;
    table.erase(at);
    RenumberSkillTable(table);
    return 1;
}

int PasteSkillGroups(RecordList<cSkillList>& table, int at, const std::vector<cSkillList>& groups)
{
    int pasted = PasteInto(table, at, groups, kMaxSkillGroups);
    if (pasted)
        RenumberSkillTable(table);
    return pasted;
}

int InsertSkill(RecordList<cSkillList>& table, int group, int at)
{
    if (!ValidGroup(table, group))
        return 0;
    RecordList<cSkill>& skills = table[group].m_Skills;
    if (at < 0 || at > skills.size() || skills.size() >= kMaxSkillsPerGroup)
        return 0;
    skills.insert(at, cSkill());
    RenumberSkillTable(table);
    return 1;
}

int DeleteSkill(RecordList<cSkillList>& table, int group, int at)
{
    if (!ValidGroup(table, group))
        return 0;
    RecordList<cSkill>& skills = table[group].m_Skills;
    if (at < 0 || at >= skills.size())
        return 0;
    skills.erase(at);
    RenumberSkillTable(table);
    return 1;
}

int PasteSkills(RecordList<cSkillList>& table, int group, int at, const std::vector<cSkill>& skills)
{
    if (!ValidGroup(table, group))
        return 0;
    int pasted = PasteInto(table[group].m_Skills, at, skills, kMaxSkillsPerGroup);
    if (pasted)
        RenumberSkillTable(table);
    return pasted;
}
