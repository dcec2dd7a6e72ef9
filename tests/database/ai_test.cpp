#include "database/ai.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "records/tables.h"
#include "tests/records/record_bytes.h"
#include "tests/test_util.h"

namespace {

// A movement rule as a file of the version holds it.
struct OldRule {
    int32_t target = 0, conditions = 0, sameGroup = 0, status = 0, commonVar = 0, moved = 0, once = 0;
    int32_t skillGroup = 0, skill = 0, destination = 0;

    std::vector<uint8_t> Bytes(uint32_t version) const
    {
        ::Bytes b;
        b.i32(1).i32(target).i32(2).i32(skillGroup).i32(skill).i32(destination);
        if (version >= 113) b.i32(conditions);
        if (version >= 44) b.i32(sameGroup).i32(once).i32(status).i32(1).i32(50).i32(1).i32(3).i32(commonVar).i32(7).i32(-8).i32(2);
        if (version >= 51) b.i32(moved);
        if (version >= 112) b.i32(1);
        if (version >= 45) b.i32(66);
        return b.data;
    }
};

}  // namespace

TEST(MoveAI, ByteLayout)
{
    // Every member distinct, in file order.
    Bytes b;
    for (int32_t v : {2, 10, 1, 3, 4, 5, 6, 7, 8, 9, 1, 999999, 11, 5, 12, 13, -999999, 7, 14, 1, 77})
        b.i32(v);
    cMoveAI r;
    EXPECT_EQ(ReadBody(r, b.data, kDataVersion), b.data.size());
    EXPECT_EQ(r.ToJson().dump(),
              R"({"range":2,"target":10,"action":1,"skillGroup":3,"skill":4,"destination":5,"conditions":6,)"
              R"("sameGroupAlly":7,"onceAlways":8,"statusCond":9,"statusStat":1,"statusValue":999999,)"
              R"("statusPercent":11,"statusCompare":5,"commonVarCond":12,"commonVar":13,"commonVarValue":-999999,)"
              R"("commonVarCompare":7,"movedOrActed":14,"judgeType":1,"unedited":77})");
    EXPECT_EQ(Body(r), b.data);
    cMoveAI copy;
    copy.CopyFrom(r);
    EXPECT_TRUE(copy.Equals(r));
    copy.m_nUnedited = 0;
    EXPECT_FALSE(copy.Equals(r));
}

TEST(MoveAI, OldFilesUpgraded)
{
    // Sizes: 6 members always, 11 conditions from 44, the unedited value from 45,
    // moved-or-acted from 51, the judgement type from 112, "条件あり" from 113.
    // Targets inserted at 5 (version 48) and at 3 (version 50) move older numbers up.
    struct Case {
        uint32_t version;
        OldRule rule;
        std::size_t size;
        int32_t target, conditions, unedited;
    } cases[] = {
        {43, {.target = 5, .status = 1}, 24, 7, 0, -5},  // conditions not in the file
        {44, {.target = 4, .status = 1}, 68, 5, 1, -5},
        {45, {.target = 3, .sameGroup = 1}, 72, 4, 1, 66},
        {47, {.target = 5, .commonVar = 1}, 72, 7, 1, 66},
        {47, {.target = 2, .once = 1}, 72, 2, 0, 66},  // "once" alone is no condition
        {48, {.target = 5}, 72, 6, 0, 66},
        {49, {.target = 3}, 72, 4, 0, 66},
        {50, {.target = 5, .moved = 1}, 72, 5, 0, 66},  // moved-or-acted not in the file
        {51, {.target = 3, .moved = 1}, 76, 3, 1, 66},
        {112, {.target = 10, .status = 1}, 80, 10, 1, 66},
        {112, {.target = 10}, 80, 10, 0, 66},
        {113, {.target = 9, .status = 1}, 84, 9, 0, 66},  // stored: taken as it is
        {340, {.target = 9, .conditions = 1}, 84, 9, 1, 66},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = c.rule.Bytes(c.version);
        bytes.push_back(0xEE);  // what follows stays unread
        cMoveAI r;
        r.m_nUnedited = -5;
        EXPECT_EQ(ReadBody(r, bytes, c.version), c.size) << c.version;
        EXPECT_EQ(static_cast<int32_t>(r.m_nTarget), c.target) << c.version << " target " << c.rule.target;
        EXPECT_EQ(r.m_bConditions, c.conditions) << c.version;
        EXPECT_EQ(r.m_nUnedited, c.unedited) << c.version;
    }
}

TEST(MoveAI, ReferencesClampedOnLoadAndSave)
{
    struct Case {
        int groups, skills, positionGroups;  // table sizes, -1 unknown
        int32_t group, skill, destination;
        int32_t group2, skill2, destination2;
    } cases[] = {
        {3, 4, 2, 2, 3, 1, 2, 3, 1},
        {3, 4, 2, 3, 1, 0, 0, 1, 0},    // group beyond the three
        {3, 4, 2, 1, 4, 0, 1, 0, 0},    // skill beyond the group's four
        {3, 4, 2, 0, 0, 2, 0, 0, 0},    // destination beyond the two
        {3, 4, 2, 0, 0, -1, 0, 0, 0},   // or below 0
        {-1, -1, -1, 900, 900, -3, 900, 900, -3},
    };
    for (const Case& c : cases) {
        FixedTableSource source;
        source.sizes[static_cast<int>(Table::SkillList)] = c.groups;
        source.sizes[static_cast<int>(Table::PositionGroup)] = c.positionGroups;
        source.skillCount = c.skills;
        const TableSource* old = SetTableSource(&source);
        OldRule rule{.skillGroup = c.group, .skill = c.skill, .destination = c.destination};
        OldRule expected{.skillGroup = c.group2, .skill = c.skill2, .destination = c.destination2};
        cMoveAI loaded;
        ReadBody(loaded, rule.Bytes(kDataVersion), kDataVersion);
        cMoveAI saved;
        ReadBody(saved, expected.Bytes(kDataVersion), kDataVersion);
        saved.m_nSkillGroup = c.group, saved.m_nSkill = c.skill, saved.m_nDestination = c.destination;
        EXPECT_EQ(Body(saved), expected.Bytes(kDataVersion)) << c.group << " " << c.skill << " " << c.destination;
        SetTableSource(old);  // written without tables, the loaded values stay as read
        EXPECT_EQ(Body(loaded), expected.Bytes(kDataVersion)) << c.group << " " << c.skill << " " << c.destination;
    }
}

TEST(BattleAI, NewValuesLayoutAndGate)
{
    cBattleAI fresh;
    EXPECT_EQ(Body(fresh), (Bytes().i32(0).i32(0).i32(0).i32(1).i32(1).i32(10).i32(0).u32(0).data));

    Bytes b;
    b.i32(2).i32(3).i32(33).i32(5).i32(9).i32(100).i32(1);
    b.u32(1).i32(1).i32(14).i32(999999).i32(6).i32(1);
    cBattleAI r;
    EXPECT_EQ(ReadBody(r, b.data, kDataVersion), b.data.size());
    EXPECT_EQ(r.ToJson().dump(),
              R"({"action":2,"skillGroup":3,"unedited":33,"skill":5,"priorityLevel":9,"priorityValue":100,)"
              R"("ignoreForMoveAI":1,"conditions":[{"subject":1,"item":14,"value":999999,"compare":6,"percent":1}]})");
    EXPECT_EQ(Body(r), b.data);

    // A version-249 file has no ignore flag: it keeps its value, the conditions follow.
    Bytes old;
    old.i32(1).i32(0).i32(0).i32(0).i32(3).i32(4).u32(1).i32(0).i32(2).i32(7).i32(0).i32(0);
    EXPECT_EQ(ReadBody(r, old.data, 249), old.data.size());
    EXPECT_EQ(r.m_bIgnoreForMoveAI, 1);
    ASSERT_EQ(r.m_Conds.size(), 1);
    EXPECT_EQ(r.m_Conds[0].m_nValue, 7);
}

TEST(MoveAITemplate, Gates)
{
    // Name from 49, description from 58; the rules are read at their own version.
    struct Case {
        uint32_t version;
        bool name, description;
    } cases[] = {{48, false, false}, {57, true, false}, {58, true, true}};
    for (const Case& c : cases) {
        Bytes b;
        if (c.name) b.str(SJ("突撃"));
        if (c.description) b.str("d");
        std::vector<uint8_t> rule = OldRule{.target = 1}.Bytes(c.version);
        b.u32(1).raw(rule.data(), rule.size());
        cMoveAITemplate t;
        t.m_Name = t.m_Description = "old";
        EXPECT_EQ(ReadBody(t, b.data, c.version), b.data.size()) << c.version;
        EXPECT_EQ(t.m_Name, c.name ? SJ("突撃") : "old") << c.version;
        EXPECT_EQ(t.m_Description, c.description ? "d" : "old") << c.version;
        EXPECT_EQ(t.m_MoveAI.size(), 1) << c.version;
    }
}
