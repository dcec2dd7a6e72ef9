#include "stage/stage_settings.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "records/record_io.h"
#include "tests/test_util.h"

namespace {

using Cells = std::vector<CellPos>;

cEvent EventAt(int x, int y)
{
    cEvent e;
    e.m_nX = x;
    e.m_nY = y;
    return e;
}

cPutEnemy EnemyAt(int enemy, int x, int y)
{
    cPutEnemy p;
    p.m_nEnemy = enemy;
    p.m_nX = x;
    p.m_nY = y;
    return p;
}

// A 20 x 15 stage with something on both sides of column 10 and row 10.
cStage StageAcrossTheLine()
{
    cStage s;
    s.m_Events.push_back(EventAt(3, 3));
    s.m_Events.push_back(EventAt(12, 2));
    s.m_Events.push_back(EventAt(2, 11));
    s.m_PutEnemy.push_back(EnemyAt(1, 5, 5));
    s.m_PutEnemy.push_back(EnemyAt(1, 15, 5));
    s.m_PutEnemy.push_back(EnemyAt(1, -1, -1));
    s.m_GroupPos[1].m_Positions = {{1, 1}, {12, 1}, {2, 2}, {3, 11}, {4, 4}};
    s.m_GroupPos[1].m_nX = 14;
    cEndCond c;
    c.m_nTarget = 4;
    c.m_nX = 15;
    c.m_nY = 12;
    s.m_Victory.push_back(c);
    return s;
}

}  // namespace

TEST(StageSettings, WidthOneKeepsTheFirstColumn)
{
    cStage stage;  // 20 x 15
    for (int y = 0; y < 15; ++y) {
        stage.SetCell(0, y, y + 1);
        stage.SetCell(1, y, 99);
    }
    cStage edited;
    edited.CopyFrom(stage);
    edited.m_Name = SJ("狭い");
    StoreStageSettings(stage, edited, 1, 15);
    EXPECT_EQ(stage.m_nWidth, 1);
    EXPECT_EQ(stage.m_nPitch, 2);
    EXPECT_EQ(stage.m_nPitchBits, 1);
    EXPECT_EQ(stage.m_Name, SJ("狭い"));
    ASSERT_EQ(stage.m_Map.size(), 30u);
    for (int y = 0; y < 15; ++y) {
        EXPECT_EQ(stage.m_Map[static_cast<std::size_t>(y * 2)], y + 1) << y;
        EXPECT_EQ(stage.m_Map[static_cast<std::size_t>(y * 2 + 1)], 0) << y;  // padding
    }
}

TEST(StageSettings, ShrinkingDropsWhatLiesOutsideAndSaysSoFirst)
{
    cStage stage = StageAcrossTheLine();
    MapLoss loss = LossOfResize(stage, 10, 10);
    EXPECT_TRUE(loss.shrinks);
    EXPECT_EQ(loss.events, 2);
    EXPECT_EQ(loss.enemies, 1);  // the unplaced one does not count
    EXPECT_EQ(loss.groupCells, 2);
    std::string question = ShrinkQuestion(loss, 10, 10);
    for (const char* part : {"10 x 10", "イベント 2 個", "敵 1 体", "座標 2 個"})
        EXPECT_NE(question.find(Utf8ToCp932(part)), std::string::npos) << part;

    // Growing or keeping the size asks nothing.
    EXPECT_EQ(ShrinkQuestion(LossOfResize(stage, 20, 15), 20, 15), "");
    EXPECT_EQ(ShrinkQuestion(LossOfResize(stage, 30, 15), 30, 15), "");
    // Shrinking with nothing outside still says the chips go.
    MapLoss chipsOnly = LossOfResize(cStage(), 19, 15);
    EXPECT_EQ(chipsOnly.events + chipsOnly.enemies + chipsOnly.groupCells, 0);
    EXPECT_NE(ShrinkQuestion(chipsOnly, 19, 15), "");

    cStage edited;
    edited.CopyFrom(stage);
    StoreStageSettings(stage, edited, 10, 10);
    ASSERT_EQ(stage.m_Events.size(), 1);
    EXPECT_EQ(stage.m_Events[0].m_nX, 3);
    EXPECT_EQ(std::pair(stage.m_PutEnemy[0].m_nX, stage.m_PutEnemy[0].m_nY), std::pair(5, 5));
    EXPECT_EQ(std::pair(stage.m_PutEnemy[1].m_nX, stage.m_PutEnemy[1].m_nY), std::pair(-1, -1));
    EXPECT_EQ(stage.m_GroupPos[1].m_Positions, (Cells{{1, 1}, {2, 2}, {4, 4}}));
    EXPECT_EQ(stage.m_GroupPos[1].m_nX, 0);
    EXPECT_EQ(std::pair(stage.m_Victory[0].m_nX, stage.m_Victory[0].m_nY), std::pair(9, 9));
}

TEST(StageSettings, ToggledCellsKeepTheirOrderAndAnEmptyGroupRoundTrips)
{
    cGroupPos g;
    for (CellPos c : Cells{{3, 1}, {0, 0}, {7, 2}})
        EXPECT_TRUE(ToggleGroupCell(g, c));
    EXPECT_EQ(g.m_Positions, (Cells{{3, 1}, {0, 0}, {7, 2}}));
    EXPECT_FALSE(ToggleGroupCell(g, {0, 0}));
    EXPECT_TRUE(ToggleGroupCell(g, {0, 0}));  // back, at the end
    EXPECT_EQ(g.m_Positions, (Cells{{3, 1}, {7, 2}, {0, 0}}));

    // Twice on the same cell changes nothing.
    Cells before = g.m_Positions;
    ToggleGroupCell(g, {5, 5});
    ToggleGroupCell(g, {5, 5});
    EXPECT_EQ(g.m_Positions, before);

    // A group emptied cell by cell is written with no positions and read back
    // into a fresh group with none.
    for (CellPos c : before)
        ToggleGroupCell(g, c);
    g.m_Name = SJ("空");
    RecordWriter out;
    g.SaveBody(out);
    cGroupPos read;
    RecordReader in(out.Bytes());
    LoadedFileVersion = kDataVersion;
    read.LoadBody(in);
    EXPECT_TRUE(read.m_Positions.empty());
    EXPECT_TRUE(read.Equals(g));
}

TEST(StageSettings, LineTexts)
{
    struct Case {
        const char* name;
        int x, y;
        const char* line;
    } cases[] = {
        {"砦", 3, 4, "砦       中心座標(3,4)"},           // 2 bytes, six blanks
        {"", 0, 0, "         中心座標(0,0)"},
        {"北の丘陵", 12, 9, "北の丘陵 中心座標(12,9)"},    // exactly 8 bytes
        {"ABCDEFGHIJ", 1, 2, "ABCDEFGHIJ 中心座標(1,2)"},  // longer names are not cut
        {"ｱｲｳ", 5, 6, "ｱｲｳ      中心座標(5,6)"},           // half-width kana: 1 byte each
    };
    for (const Case& c : cases) {
        cGroupPos g;
        g.m_Name = Utf8ToCp932(c.name);
        g.m_nX = c.x;
        g.m_nY = c.y;
        EXPECT_EQ(GroupPosLine(g), Utf8ToCp932(c.line)) << c.name;
    }
    cEndCond cond;
    cond.m_Text = SJ("敵を全滅させる\r\n");
    EXPECT_EQ(EndCondLine(cond), SJ("敵を全滅させる  "));
}

TEST(StageSettings, GroupListOperations)
{
    std::vector<cGroupPos> groups(2);
    groups[0].m_Name = SJ("味方");
    groups[0].m_Positions = {{1, 1}};
    groups[1].m_Name = SJ("砦");
    groups[1].m_nX = 4;
    ClearGroups(groups, {1, 7, -1});
    EXPECT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0].m_Name, SJ("味方"));
    EXPECT_TRUE(groups[1].Equals(cGroupPos()));

    while (AppendGroup(groups)) {
    }
    EXPECT_EQ(static_cast<int>(groups.size()), kMaxPositionGroups);

    RecordList<cGroupPos> list;
    list.items() = {groups[0], groups[0], groups[0]};
    EXPECT_EQ(GroupChoices(list), (std::vector<std::string>{SJ("0 味方"), SJ("1 味方"), SJ("2 味方")}));
    EXPECT_EQ(GroupChoices(list, true)[0], SJ("なし"));
    list.items().resize(10);
    EXPECT_EQ(GroupChoices(list)[0], SJ("00 味方"));
}

TEST(StageSettings, ConditionKeepsTheValuesItsTargetDoesNotUse)
{
    cEndCond before;
    before.m_nCharaId = 0;
    before.m_nGroup = 2;
    before.m_nX = 7;
    before.m_nY = 8;
    // What the dialog's controls hold after OK: every edit clamped into its range.
    cEndCond edited = before;
    edited.m_nCharaId = 1;
    edited.m_nGroup = 0;
    edited.m_nX = 1;
    edited.m_nY = 2;
    struct Case {
        int target, charaId, group, x, y;
    } cases[] = {{0, 0, 2, 7, 8}, {1, 0, 2, 7, 8}, {2, 1, 2, 7, 8}, {3, 0, 0, 7, 8}, {4, 0, 2, 1, 2}};
    for (const Case& c : cases) {
        cEndCond stored = edited;
        stored.m_nTarget = c.target;
        KeepUnusedTargetValues(stored, before);
        EXPECT_EQ(std::tuple(stored.m_nCharaId, stored.m_nGroup, stored.m_nX, stored.m_nY),
                  std::tuple(c.charaId, c.group, c.x, c.y))
            << c.target;
    }
}
