#include "database/game_values.h"

#include <gtest/gtest.h>

namespace {

TEST(GameValues, ReferenceValueAlongTheLevels)
{
    struct Case { int32_t initial, final; int level, limit, timing; int32_t expected; };
    const Case cases[] = {
        // level 1 and the limit hold the ends whatever the timing
        {10, 110, 1, 11, -10, 10},
        {10, 110, 1, 11, 10, 10},
        {10, 110, 11, 11, -10, 110},
        {10, 110, 11, 11, 10, 110},
        // half way: even, early (square root), late (square)
        {10, 110, 6, 11, 0, 60},
        {10, 110, 6, 11, -10, 80},
        {10, 110, 6, 11, 10, 35},
        {10, 110, 6, 11, 5, 47},  // 0.5^1.414 = 0.375
        // a limit of 1 stands at its end; levels beyond the limit stay there
        {10, 110, 1, 1, 0, 110},
        {10, 110, 40, 11, 0, 110},
        {10, 110, 0, 11, 0, 10},
        // shrinking stats truncate the whole value, not the change alone
        {100, 10, 6, 11, 10, 77},
        // no growth
        {7, 7, 6, 11, -10, 7},
        // timings out of range are pulled in
        {10, 110, 6, 11, 99, 35},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReferenceValue(c.initial, c.final, c.level, c.limit, c.timing), c.expected)
            << c.initial << "->" << c.final << " L" << c.level << "/" << c.limit << " t" << c.timing;
}

TEST(GameValues, ResolvedAgainstTheClassThenBroughtToALevel)
{
    cClass cls;
    cls.m_nLevelLimit = 21;
    for (int i = 0; i < kStatCount; ++i) {
        cls.m_InitialStats[i] = 100;
        cls.m_FinalStats[i] = 300;
    }
    cls.m_FinalStats[2] = 0;  // the class's attack does not grow

    cFriend chara;
    chara.m_InitialStats = {};
    chara.m_FinalStats = {};
    chara.m_InitialStats[1] = 50;  // SP of its own, growing to 250
    chara.m_FinalStats[1] = 250;
    chara.m_InitialStats[3] = 40;  // defence of its own, no growth
    chara.m_FinalStats[4] = 999;   // ignored: the initial value is the class's
    const cFriend before = chara;

    GameStats g = ResolveGameStats(chara, cls);
    EXPECT_EQ(g.levelLimit, 21);
    EXPECT_EQ(g.initial[0], 100);
    EXPECT_EQ(g.final[0], 300);
    EXPECT_EQ(g.grows[0], 1);
    EXPECT_EQ(g.initial[1], 50);
    EXPECT_EQ(g.final[1], 250);
    EXPECT_EQ(g.final[2], 100);
    EXPECT_EQ(g.grows[2], 0);
    EXPECT_EQ(g.final[3], 40);
    EXPECT_EQ(g.grows[3], 0);
    EXPECT_EQ(g.final[4], 300);

    StatArray at11 = ReferenceValues(g, 11, 0);
    EXPECT_EQ(at11[0], 200);
    EXPECT_EQ(at11[1], 150);
    EXPECT_EQ(at11[2], 100);
    EXPECT_EQ(at11[3], 40);
    EXPECT_EQ(ReferenceValues(g, 21, -10)[1], 250);

    // Nothing of this touches the record.
    EXPECT_TRUE(chara.Equals(before));

    // A class below level 1 counts as level limit 1.
    cls.m_nLevelLimit = 0;
    EXPECT_EQ(ResolveGameStats(chara, cls).levelLimit, 1);
    EXPECT_EQ(ReferenceValues(ResolveGameStats(chara, cls), 1, 0)[1], 250);
}

// The page's figures for a character as stored: its class found by number,
// its own level and timing, a stat of initial value 0 taking the class's.
TEST(GameValues, CharaValuesAtTheCharactersLevelAndTiming)
{
    RecordList<cClass> classes;
    classes.emplace_back().m_nLevelLimit = 11;
    cClass& cls = classes.emplace_back();
    cls.m_nLevelLimit = 11;
    cls.m_InitialStats.fill(10);
    cls.m_FinalStats.fill(110);

    cEnemy chara;
    chara.m_nClass = 1;
    chara.m_InitialStats = {};
    chara.m_FinalStats = {};
    chara.m_InitialStats[8] = 5;  // speed of its own, no growth
    const cEnemy before = chara;

    struct Case { int level, timing; int32_t hp; };
    const Case cases[] = {{1, 0, 10}, {6, 0, 60}, {6, -10, 80}, {6, 10, 35}, {11, 10, 110}, {60, 0, 110}};
    for (const Case& c : cases) {
        chara.m_nLevel = c.level;
        chara.m_nGrowthTiming = c.timing;
        CharaPageValues v;
        ASSERT_TRUE(CharaValues(chara, classes, v));
        EXPECT_EQ(v.game.initial[0], 10);
        EXPECT_EQ(v.reference[0], c.hp) << "L" << c.level << " t" << c.timing;
        EXPECT_EQ(v.reference[8], 5);
    }

    // A class of level limit 1 shows its final values at once.
    classes[1].m_nLevelLimit = 1;
    chara.m_nLevel = 1;
    CharaPageValues v;
    ASSERT_TRUE(CharaValues(chara, classes, v));
    EXPECT_EQ(v.reference[0], 110);

    // A class number beyond the table gives nothing to show.
    chara.m_nClass = 2;
    EXPECT_FALSE(CharaValues(chara, classes, v));
    chara.m_nClass = before.m_nClass;
    chara.m_nLevel = before.m_nLevel;
    chara.m_nGrowthTiming = before.m_nGrowthTiming;
    EXPECT_TRUE(chara.Equals(before));
}

}  // namespace
