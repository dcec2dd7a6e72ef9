#include "database/skill_edit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Groups named "A", "B", ... with `skills` skills named "A1", "A2", ...; every
// number is wrong on purpose so that only renumbering puts them right.
RecordList<cSkillList> Table(int groups, int skills)
{
    RecordList<cSkillList> table;
    for (int g = 0; g < groups; ++g) {
        cSkillList& group = table.emplace_back();
        group.m_Name = std::string(1, static_cast<char>('A' + g));
        group.m_nGroupNo = 77;
        for (int s = 0; s < skills; ++s) {
            cSkill& skill = group.m_Skills.emplace_back();
            skill.m_Name = group.m_Name + std::to_string(s + 1);
            skill.m_nSkillNo = 77;
        }
    }
    return table;
}

std::string Names(const RecordList<cSkillList>& table)
{
    std::string out;
    for (const cSkillList& g : table) {
        out += g.m_Name.empty() ? "-" : g.m_Name;
        out += "(";
        for (const cSkill& s : g.m_Skills)
            out += (s.m_Name.empty() ? "-" : s.m_Name) + " ";
        out += ")";
    }
    return out;
}

void ExpectNumbered(const RecordList<cSkillList>& table)
{
    for (int g = 0; g < table.size(); ++g) {
        EXPECT_EQ(table[g].m_nGroupNo, g);
        for (int s = 0; s < table[g].m_Skills.size(); ++s)
            EXPECT_EQ(table[g].m_Skills[s].m_nSkillNo, s) << g << "/" << s;
    }
}

TEST(SkillEdit, EveryChangeRenumbersGroupsAndSkills)
{
    using Edit = std::function<int(RecordList<cSkillList>&)>;
    struct Case { const char* what; Edit edit; int result; const char* names; };
    const std::vector<cSkillList> twoGroups = {Table(1, 1)[0], Table(2, 0)[1]};
    const std::vector<cSkill> twoSkills = {Table(1, 2)[0].m_Skills[0], Table(1, 2)[0].m_Skills[1]};
    const Case cases[] = {
        {"insert group", [](auto& t) { return InsertSkillGroup(t, 1); }, 1, "A(A1 A2 )-()B(B1 B2 )C(C1 C2 )"},
        {"append group", [](auto& t) { return InsertSkillGroup(t, 3); }, 1, "A(A1 A2 )B(B1 B2 )C(C1 C2 )-()"},
        {"delete group 1", [](auto& t) { return DeleteSkillGroup(t, 0); }, 1, "B(B1 B2 )C(C1 C2 )"},
        {"paste groups", [&](auto& t) { return PasteSkillGroups(t, 2, twoGroups); }, 2,
         "A(A1 A2 )B(B1 B2 )A(A1 )B()C(C1 C2 )"},
        {"insert skill", [](auto& t) { return InsertSkill(t, 1, 0); }, 1, "A(A1 A2 )B(- B1 B2 )C(C1 C2 )"},
        {"delete skill", [](auto& t) { return DeleteSkill(t, 2, 0); }, 1, "A(A1 A2 )B(B1 B2 )C(C2 )"},
        {"paste skills", [&](auto& t) { return PasteSkills(t, 0, 1, twoSkills); }, 2,
         "A(A1 A1 A2 A2 )B(B1 B2 )C(C1 C2 )"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordList<cSkillList> table = Table(3, 2);
        EXPECT_EQ(c.edit(table), c.result);
        EXPECT_EQ(Names(table), c.names);
        ExpectNumbered(table);
    }
}

TEST(SkillEdit, RefusalsLeaveTheTableAsItWas)
{
    using Edit = std::function<int(RecordList<cSkillList>&)>;
    struct Case { const char* what; int groups, skills; Edit edit; };
    const Case cases[] = {
        {"17th group", kMaxSkillGroups, 0, [](auto& t) { return InsertSkillGroup(t, 0); }},
        {"last group", 1, 2, [](auto& t) { return DeleteSkillGroup(t, 0); }},
        {"group beyond", 2, 0, [](auto& t) { return DeleteSkillGroup(t, 2); }},
        {"100th skill", 1, kMaxSkillsPerGroup, [](auto& t) { return InsertSkill(t, 0, 0); }},
        {"skill of no group", 1, 1, [](auto& t) { return InsertSkill(t, 1, 0); }},
        {"skill beyond", 1, 1, [](auto& t) { return DeleteSkill(t, 0, 1); }},
        {"nothing to paste", 1, 1, [](auto& t) { return PasteSkills(t, 0, 0, {}); }},
        // a loaded list larger than the maximum is kept whole but does not grow
        {"paste into a full list", 1, kMaxSkillsPerGroup + 3,
         [](auto& t) { return PasteSkills(t, 0, 0, {cSkill()}); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordList<cSkillList> table = Table(c.groups, c.skills);
        std::string before = Names(table);
        EXPECT_EQ(c.edit(table), 0);
        EXPECT_EQ(Names(table), before);
        EXPECT_EQ(table[0].m_nGroupNo, 77);
    }

    // A paste stops at the maximum.
    RecordList<cSkillList> table = Table(kMaxSkillGroups - 1, 0);
    EXPECT_EQ(PasteSkillGroups(table, 0, {cSkillList(), cSkillList(), cSkillList()}), 1);
    EXPECT_EQ(table.size(), kMaxSkillGroups);
    ExpectNumbered(table);
}

}  // namespace
