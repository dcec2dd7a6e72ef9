#include "database/ai.h"

#include <gtest/gtest.h>

#include "app/text.h"
#include "records/tables.h"
#include "tests/test_util.h"

namespace {

std::vector<uint8_t> Body(cSerial& r)
{
    RecordWriter out;
    r.SaveBody(out);
    return out.Bytes();
}

// Reads a body as a file of the version holds it; returns the bytes consumed.
std::size_t ReadBody(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    return in.Position();
}

// Installs fixed table sizes for one test.
class Tables {
public:
    Tables(int skillGroups, int skillsPerGroup, int positionGroups)
    {
        source_.sizes[static_cast<int>(Table::SkillList)] = skillGroups;
        source_.sizes[static_cast<int>(Table::PositionGroup)] = positionGroups;
        source_.skillCount = skillsPerGroup;
        old_ = SetTableSource(&source_);
    }
    ~Tables() { SetTableSource(old_); }

private:
    FixedTableSource source_;
    const TableSource* old_;
};

cMoveAI FilledMoveAI()
{
    cMoveAI r;
    r.m_nRange = MoveAIRange::SelfAndAdjacent;
    r.m_nTarget = MoveAITarget::NearestDestination;
    r.m_nAction = MoveAIAction::Heal;
    r.m_nSkillGroup = 3;
    r.m_nSkill = 4;
    r.m_nDestination = 5;
    r.m_bConditions = 1;
    r.m_bSameGroupAlly = 1;
    r.m_bOnceAlways = 1;
    r.m_bStatusCond = 1;
    r.m_nStatusStat = MoveAIStat::Sp;
    r.m_nStatusValue = 999999;
    r.m_bStatusPercent = 1;
    r.m_nStatusCompare = CompareOp::Below;
    r.m_bCommonVarCond = 1;
    r.m_nCommonVar = 12;
    r.m_nCommonVarValue = -999999;
    r.m_nCommonVarCompare = CompareOp::NotMultipleOf;
    r.m_bMovedOrActed = 1;
    r.m_nJudgeType = MoveAIJudge::AnyTrue;
    r.m_nUnedited = 77;
    return r;
}

// The members of a movement rule as a file of the version holds them.
struct OldMoveAI {
    int32_t target = 0;
    int32_t conditions = 0;
    int32_t sameGroup = 0;
    int32_t status = 0;
    int32_t commonVar = 0;
    int32_t moved = 0;
    int32_t once = 0;

    std::vector<uint8_t> Bytes(uint32_t version) const
    {
        ::Bytes b;
        b.i32(1).i32(target).i32(2).i32(0).i32(0).i32(0);
        if (version >= 113) b.i32(conditions);
        if (version >= 44) {
            b.i32(sameGroup).i32(once).i32(status).i32(1).i32(50).i32(1).i32(3);
            b.i32(commonVar).i32(7).i32(-8).i32(2);
        }
        if (version >= 51) b.i32(moved);
        if (version >= 112) b.i32(1);
        if (version >= 45) b.i32(66);
        return b.data;
    }
};

}  // namespace

TEST(MoveAI, ByteLayoutAndRoundTrip)
{
    cMoveAI r = FilledMoveAI();
    Bytes b;
    b.i32(2).i32(10).i32(2).i32(3).i32(4).i32(5).i32(1);
    b.i32(1).i32(1).i32(1).i32(1).i32(999999).i32(1).i32(5);
    b.i32(1).i32(12).i32(-999999).i32(7);
    b.i32(1).i32(1).i32(77);
    EXPECT_EQ(Body(r), b.data);

    cMoveAI back;
    EXPECT_EQ(ReadBody(back, b.data, kDataVersion), b.data.size());
    EXPECT_TRUE(back.Equals(r));

    cMoveAI copy;
    copy.CopyFrom(r);
    EXPECT_TRUE(copy.Equals(r));
    copy.m_nUnedited = 0;
    EXPECT_FALSE(copy.Equals(r));
}

TEST(MoveAI, EachVersionReadsItsMembers)
{
    // Bytes consumed: 6 members always, 11 conditions from 44, the unedited value
    // from 45, moved-or-acted from 51, the judgement type from 112, "条件あり" from 113.
    struct Case {
        uint32_t version;
        std::size_t size;
    } cases[] = {{43, 24}, {44, 68}, {45, 72}, {50, 72}, {51, 76}, {111, 76}, {112, 80}, {113, 84}, {340, 84}};
    for (const Case& c : cases) {
        OldMoveAI old;
        old.target = 9;
        std::vector<uint8_t> bytes = old.Bytes(c.version);
        ASSERT_EQ(bytes.size(), c.size) << c.version;
        bytes.push_back(0xEE);  // whatever follows must stay unread

        cMoveAI r;
        r.m_nUnedited = -5;
        r.m_nJudgeType = MoveAIJudge::AnyTrue;
        r.m_nCommonVarValue = 1234;
        EXPECT_EQ(ReadBody(r, bytes, c.version), c.size) << c.version;
        EXPECT_EQ(r.m_nAction, MoveAIAction::Heal) << c.version;
        EXPECT_EQ(r.m_nCommonVarValue, c.version >= 44 ? -8 : 1234) << c.version;
        EXPECT_EQ(r.m_nStatusCompare, c.version >= 44 ? CompareOp::AtMost : CompareOp::Equal) << c.version;
        EXPECT_EQ(r.m_nUnedited, c.version >= 45 ? 66 : -5) << c.version;
        EXPECT_EQ(r.m_nJudgeType, MoveAIJudge::AnyTrue) << c.version;
    }
}

TEST(MoveAI, OldTargetNumbersMoveUp)
{
    struct Case {
        uint32_t version;
        int32_t stored;
        int32_t expected;
    } cases[] = {
        {47, 2, 2}, {47, 3, 4}, {47, 4, 5}, {47, 5, 7}, {47, 8, 10},
        {48, 2, 2}, {48, 3, 4}, {48, 5, 6}, {48, 9, 10},
        {49, 3, 4}, {49, 5, 6},
        {50, 3, 3}, {50, 5, 5}, {50, 10, 10},
        {340, 7, 7},
    };
    for (const Case& c : cases) {
        OldMoveAI old;
        old.target = c.stored;
        cMoveAI r;
        ReadBody(r, old.Bytes(c.version), c.version);
        EXPECT_EQ(static_cast<int32_t>(r.m_nTarget), c.expected) << "version " << c.version << " target " << c.stored;
    }
}

TEST(MoveAI, ConditionsSwitchDerivedForOldFiles)
{
    struct Case {
        uint32_t version;
        OldMoveAI rule;
        int32_t expected;
    } cases[] = {
        {112, {.status = 1}, 1},
        {112, {.sameGroup = 1}, 1},
        {112, {.commonVar = 1}, 1},
        {112, {.moved = 1}, 1},
        {112, {.once = 1}, 0},  // not a condition of its own
        {112, {}, 0},
        {50, {.moved = 1}, 0},  // no such member before 51
        {113, {.status = 1}, 0},  // stored from 113 on: taken as it is
        {113, {.conditions = 1}, 1},
    };
    for (const Case& c : cases) {
        cMoveAI r;
        ReadBody(r, c.rule.Bytes(c.version), c.version);
        EXPECT_EQ(r.m_bConditions, c.expected) << "version " << c.version;
    }
}

TEST(MoveAI, ReferencesClampedOnLoadAndSave)
{
    struct Case {
        int32_t group, skill, destination;
        int32_t group2, skill2, destination2;
    } cases[] = {
        {2, 3, 1, 2, 3, 1},   // all inside
        {3, 1, 0, 0, 1, 0},   // group beyond the three groups
        {1, 4, 0, 1, 0, 0},   // skill beyond the four of the group
        {3, 9, 0, 0, 0, 0},   // both
        {0, 0, 2, 0, 0, 0},   // destination beyond the two position groups
        {0, 0, -1, 0, 0, 0},  // and below 0
        {-1, -1, 0, -1, -1, 0},  // negative skills are left alone
    };
    Tables tables(3, 4, 2);
    for (const Case& c : cases) {
        cMoveAI r;
        r.m_nSkillGroup = c.group;
        r.m_nSkill = c.skill;
        r.m_nDestination = c.destination;
        std::vector<uint8_t> saved = Body(r);
        cMoveAI expected;
        expected.m_nSkillGroup = c.group2;
        expected.m_nSkill = c.skill2;
        expected.m_nDestination = c.destination2;
        EXPECT_TRUE(r.Equals(expected)) << "save " << c.group << " " << c.skill << " " << c.destination;

        // The same values in a file are clamped on reading.
        Bytes b;
        b.i32(0).i32(0).i32(0).i32(c.group).i32(c.skill).i32(c.destination);
        cMoveAI loaded;
        ReadBody(loaded, b.data, 43);
        EXPECT_TRUE(loaded.Equals(expected)) << "load " << c.group << " " << c.skill << " " << c.destination;
    }
}

TEST(MoveAI, UnknownTablesLeaveReferences)
{
    cMoveAI r = FilledMoveAI();
    r.m_nSkillGroup = 900;
    r.m_nSkill = 900;
    r.m_nDestination = -3;
    std::vector<uint8_t> bytes = Body(r);
    cMoveAI back;
    ReadBody(back, bytes, kDataVersion);
    EXPECT_EQ(back.m_nSkillGroup, 900);
    EXPECT_EQ(back.m_nSkill, 900);
    EXPECT_EQ(back.m_nDestination, -3);
}

TEST(BattleAI, NewValuesRoundTripAndGate)
{
    cBattleAI fresh;
    EXPECT_EQ(fresh.m_nSkill, 1);
    EXPECT_EQ(fresh.m_nPriorityLevel, 1);
    EXPECT_EQ(fresh.m_nPriorityValue, 10);
    EXPECT_EQ(fresh.m_nSkillGroup, 0);

    cBattleAI r;
    r.m_nAction = BattleAIAction::Quick;
    r.m_nSkillGroup = 2;
    r.m_nUnedited = 33;
    r.m_nSkill = 5;
    r.m_nPriorityLevel = 9;
    r.m_nPriorityValue = 100;
    r.m_bIgnoreForMoveAI = 1;
    cBattleAICond& c = r.m_Conds.emplace_back();
    c.m_nSubject = BattleAISubject::Opponent;
    c.m_nItem = BattleAIItem::Land;
    c.m_nValue = 999999;
    c.m_nCompare = CompareOp::MultipleOf;
    c.m_bPercent = 1;
    r.m_Conds.emplace_back().m_nItem = BattleAIItem::Agility;

    Bytes b;
    b.i32(2).i32(2).i32(33).i32(5).i32(9).i32(100).i32(1);
    b.u32(2).i32(1).i32(14).i32(999999).i32(6).i32(1);
    b.i32(0).i32(8).i32(0).i32(0).i32(0);
    EXPECT_EQ(Body(r), b.data);
    cBattleAI back;
    ReadBody(back, b.data, kDataVersion);
    EXPECT_TRUE(back.Equals(r));
    back.m_Conds[1].m_bPercent = 1;
    EXPECT_FALSE(back.Equals(r));

    // A version-249 file has no ignore flag: it keeps its value, the conditions follow.
    Bytes old;
    old.i32(1).i32(0).i32(0).i32(0).i32(3).i32(4).u32(1).i32(0).i32(2).i32(7).i32(0).i32(0);
    cBattleAI o;
    o.m_bIgnoreForMoveAI = 1;
    EXPECT_EQ(ReadBody(o, old.data, 249), old.data.size());
    EXPECT_EQ(o.m_bIgnoreForMoveAI, 1);
    EXPECT_EQ(o.m_nPriorityValue, 4);
    ASSERT_EQ(o.m_Conds.size(), 1);
    EXPECT_EQ(o.m_Conds[0].m_nValue, 7);
}

TEST(MoveAITemplate, RoundTripAndGates)
{
    cMoveAITemplate t;
    t.m_Name = SJ("突撃");
    t.m_Description = SJ("近い敵へ");
    t.m_MoveAI.push_back(FilledMoveAI());
    t.m_MoveAI.emplace_back();
    std::vector<uint8_t> bytes = Body(t);
    cMoveAITemplate back;
    EXPECT_EQ(ReadBody(back, bytes, kDataVersion), bytes.size());
    EXPECT_TRUE(back.Equals(t));

    // Name from 49, description from 58; a version-48 file holds only the rules.
    struct Case {
        uint32_t version;
        bool name, description;
    } cases[] = {{48, false, false}, {49, true, false}, {57, true, false}, {58, true, true}};
    for (const Case& c : cases) {
        Bytes b;
        if (c.name) b.str("n");
        if (c.description) b.str("d");
        b.u32(1);
        std::vector<uint8_t> rule = OldMoveAI{.target = 1}.Bytes(c.version);
        b.raw(rule.data(), rule.size());
        cMoveAITemplate r;
        r.m_Name = "old";
        r.m_Description = "old";
        EXPECT_EQ(ReadBody(r, b.data, c.version), b.data.size()) << c.version;
        EXPECT_EQ(r.m_Name, c.name ? "n" : "old") << c.version;
        EXPECT_EQ(r.m_Description, c.description ? "d" : "old") << c.version;
        ASSERT_EQ(r.m_MoveAI.size(), 1) << c.version;
        EXPECT_EQ(r.m_MoveAI[0].m_nTarget, MoveAITarget::EffectiveAllyPhysical) << c.version;
    }
}

TEST(AILabels, TablesCoverEveryValue)
{
    EXPECT_EQ(MoveAITargetLabels().Count(), static_cast<int>(MoveAITarget::NearestDestination) + 1);
    EXPECT_EQ(BattleAIItemLabels().Count(), static_cast<int>(BattleAIItem::Land) + 1);
    EXPECT_EQ(CompareOpLabels().Count(), static_cast<int>(CompareOp::NotMultipleOf) + 1);
    EXPECT_EQ(MoveAITargetLabels()[MoveAITarget::LeaderAlly], SJ("リーダーの味方"));
    EXPECT_EQ(BattleAIItemLabels()[BattleAIItem::TurnsLeft], SJ("残りターン数"));
    EXPECT_EQ(MoveAIRangeLabels()[3], "");
    EXPECT_EQ(MoveAIActionLabels()[-1], "");
}
