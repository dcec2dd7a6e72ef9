#include "stage/stage.h"
#include "world/world_map.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "records/tables.h"
#include "tests/test_util.h"

namespace {

// The body of an element record as a file of the version holds it.
std::vector<uint8_t> BodyAt(cSerial& r, uint32_t version)
{
    uint32_t saved = CurrentVersion;
    CurrentVersion = version;
    RecordWriter out;
    r.SaveBody(out);
    CurrentVersion = saved;
    return out.Bytes();
}

template <class T>
void PutList(Bytes& b, std::vector<T> items, uint32_t version)
{
    b.u32(static_cast<uint32_t>(items.size()));
    for (T& item : items) {
        std::vector<uint8_t> body = BodyAt(item, version);
        b.raw(body.data(), body.size());
    }
}

cEvent Event(const char* name, int x, int y)
{
    cEvent e;
    e.m_Name = name;
    e.m_nX = x;
    e.m_nY = y;
    return e;
}

// A 4 x 2 stage as a file of the version holds it: one position group "G",
// one placement of enemy 7, one event "E", an obsolete event "OLD" where the
// version has that list, and one condition in each of the three lists.
std::vector<uint8_t> StageFile(uint32_t version, const cStage& s)
{
    Bytes b;
    b.i32(s.m_nWidth).i32(s.m_nHeight).i32(s.m_nPitch).i32(s.m_nPitchBits).i32(s.m_nAllyStartGroup);
    if (version >= 87) b.i32(s.m_nRewardKind);
    b.i32(s.m_nReward);
    if (version >= 118) b.i32(s.m_nRewardDecrease);
    if (version >= 127) b.i32(s.m_bDecreasePercent);
    b.i32(s.m_nRewardSecond).i32(s.m_nExpRate).i32(s.m_nExpRateCleared);
    if (version >= 87) b.i32(s.m_nMoneyRate).i32(s.m_nMoneyRateCleared);
    b.str(s.m_Name);
    if (version >= 66) b.i32(s.m_nBack);
    b.i32(s.m_nBgm);
    if (version >= 47) b.i32(s.m_bAllGroups);
    if (version >= 84) b.i32(s.m_bShowClear).i32(s.m_bShowGameOver);
    b.u32(static_cast<uint32_t>(s.m_Map.size()));
    for (int32_t c : s.m_Map) b.i32(c);

    cGroupPos g;
    g.m_Name = "G";
    g.m_Positions = {{1, 1}};
    cPutEnemy p;
    p.m_nEnemy = 7;
    p.m_nX = p.m_nY = 1;
    std::vector<cEvent> events{Event("E", 2, 1)};
    std::vector<cEvent> old{Event("OLD", 0, 0)};
    if (version >= 68) {
        PutList(b, std::vector{g}, version);
        PutList(b, std::vector{p}, version);
        if (version < 108) PutList(b, old, version);
        PutList(b, events, version);
    } else {
        PutList(b, std::vector{p}, version);
        PutList(b, events, version);
        PutList(b, old, version);
        PutList(b, std::vector{g}, version);
    }
    for (const char* text : {"V", "D", "S"}) {
        cEndCond c;
        c.m_Text = text;
        PutList(b, std::vector{c}, version);
    }
    return b.data;
}

// The stage StageFile describes, as a new stage holding the file's scalars.
cStage Source()
{
    cStage s;
    s.ResizeMap(4, 2);
    s.SetCell(3, 1, 5);
    s.m_Name = SJ("草原");
    s.m_nReward = 300;
    s.m_nBack = 2;
    return s;
}

}  // namespace

TEST(Stage, MemberOrderAcrossVersions)
{
    // Below 68 the placements and events come before the position groups;
    // below 108 the obsolete event list sits among them; members newer than
    // the file keep what the stage held (here a value no version writes).
    for (uint32_t version : {46u, 60u, 67u, 68u, 100u, 107u, 108u, 126u, 340u}) {
        SCOPED_TRACE(version);
        std::vector<uint8_t> bytes = StageFile(version, Source());
        cStage s;
        s.m_bDecreasePercent = 9;
        s.m_bAllGroups = 9;
        RecordReader in(bytes);
        LoadedFileVersion = version;
        s.LoadBody(in);
        EXPECT_TRUE(in.AtEnd());
        ASSERT_EQ(s.m_GroupPos.size(), 1);
        EXPECT_EQ(s.m_GroupPos[0].m_Name, "G");
        ASSERT_EQ(s.m_PutEnemy.size(), 1);
        EXPECT_EQ(s.m_PutEnemy[0].m_nEnemy, 7);
        ASSERT_EQ(s.m_Events.size(), 1);
        EXPECT_EQ(s.m_Events[0].m_Name, "E");
        EXPECT_EQ(s.m_OldEvents.size(), version < 108 ? 1 : 0);
        EXPECT_EQ(s.m_Special[0].m_Text, "S");
        EXPECT_EQ(s.Cell(3, 1), 5);
        EXPECT_EQ(s.m_Name, SJ("草原"));
        EXPECT_EQ(s.m_nBack, version >= 66 ? 2 : 1);
        EXPECT_EQ(s.m_bDecreasePercent, version >= 127 ? 1 : 9);
        EXPECT_EQ(s.m_bAllGroups, version >= 47 ? 1 : 9);

        // Written again, the file has the layout of 340: no obsolete list.
        if (version >= 127) {
            RecordWriter out;
            s.SaveBody(out);
            EXPECT_EQ(out.Bytes(), StageFile(340, Source()));
        }
    }
}

TEST(Stage, PitchRulesOfStageAndWorldMap)
{
    // A stage's row pitch lies above the width; the world map's is not below it.
    struct Case {
        int width, stagePitch, worldPitch;
    } cases[] = {{1, 2, 1}, {2, 4, 2}, {15, 16, 16}, {16, 32, 16}, {17, 32, 32}, {20, 32, 32}, {33, 64, 64}, {64, 128, 64}, {200, 256, 256}};
    for (const Case& c : cases) {
        cStage s;
        s.ResizeMap(c.width, 3);
        EXPECT_EQ(s.m_nPitch, c.stagePitch) << c.width;
        EXPECT_EQ(1 << s.m_nPitchBits, c.stagePitch) << c.width;
        EXPECT_EQ(s.m_Map.size(), std::size_t(c.stagePitch) * 3) << c.width;
        cWorldMap w;
        w.ResizeWorldMap(c.width, 3);
        EXPECT_EQ(w.m_nPitch, c.worldPitch) << c.width;
        EXPECT_EQ(1 << w.m_nPitchBits, c.worldPitch) << c.width;
        EXPECT_EQ(w.m_Map.size(), std::size_t(c.worldPitch) * 3) << c.width;
    }
}

TEST(Stage, ResizeKeepsCellsAtTheirColumnAndRow)
{
    cStage s;
    cWorldMap w;
    s.ResizeMap(20, 15);
    w.ResizeWorldMap(20, 15);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x) {
            s.SetCell(x, y, 1 + x + 100 * y);
            w.SetCell(x, y, 1 + x + 100 * y);
        }
    // Grow (new pitch), then shrink: kept cells stay put, new ones are 0.
    s.ResizeMap(33, 16);
    w.ResizeWorldMap(33, 16);
    EXPECT_EQ(s.m_nPitch, 64);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 33; ++x) {
            int want = x < 20 && y < 15 ? 1 + x + 100 * y : 0;
            ASSERT_EQ(s.Cell(x, y), want) << x << "," << y;
            ASSERT_EQ(w.Cell(x, y), want) << x << "," << y;
        }
    s.ResizeMap(10, 10);
    w.ResizeWorldMap(10, 10);
    EXPECT_EQ(s.m_Map.size(), 160u);
    EXPECT_EQ(w.m_Map.size(), 160u);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x) {
            ASSERT_EQ(s.Cell(x, y), x < 10 ? 1 + x + 100 * y : 0);
            ASSERT_EQ(w.Cell(x, y), x < 10 ? 1 + x + 100 * y : 0);
        }
}

TEST(Stage, ValidationPullsReferencesBack)
{
    FixedTableSource tables;
    tables.sizes[int(Table::Land)] = 5;
    tables.sizes[int(Table::PartyVal)] = 2;
    tables.sizes[int(Table::Back)] = 5;
    tables.sizes[int(Table::Bgm)] = 3;
    tables.sizes[int(Table::Enemy)] = 4;
    const TableSource* old = SetTableSource(&tables);

    cStage s;  // 20 x 15, two position groups
    s.SetCell(0, 0, 7);
    s.SetCell(19, 14, 4);
    s.m_Map[20] = 9;  // padding beyond the width is not the land table's business
    s.m_nAllyStartGroup = 2;
    s.m_nRewardKind = 2;
    s.m_nBack = 9;
    s.m_nBgm = 3;
    cPutEnemy& off = s.m_PutEnemy.emplace_back();
    off.m_nEnemy = 9;
    off.m_nX = 25;
    off.m_nY = 3;
    cPutEnemy& kept = s.m_PutEnemy.emplace_back();
    kept.m_nEnemy = 3;
    kept.m_nX = 19;
    kept.m_nY = 14;
    s.m_Events.push_back(Event("out", 20, 0));
    s.m_Events.push_back(Event("in", 19, 14));
    s.m_Events.push_back(Event("below", 0, 15));
    s.m_GroupPos[0].m_Positions = {{3, 4}, {25, 1}, {7, 2}};
    s.m_GroupPos[0].m_nX = 20;
    cEndCond& c = s.m_Victory.emplace_back();
    c.m_nGroup = 5;
    c.m_nShowGroup = 3;

    // Saving validates first.
    RecordWriter out;
    s.SaveBody(out);
    EXPECT_EQ(s.Cell(0, 0), 0);
    EXPECT_EQ(s.Cell(19, 14), 4);
    EXPECT_EQ(s.m_Map[20], 9);
    EXPECT_EQ(s.m_nAllyStartGroup, 0);
    EXPECT_EQ(s.m_nRewardKind, 1);
    EXPECT_EQ(s.m_nBack, 1);
    EXPECT_EQ(s.m_nBgm, 0);
    EXPECT_EQ(s.m_PutEnemy[0].m_nEnemy, 0);
    EXPECT_EQ(s.m_PutEnemy[0].m_nX, -1);
    EXPECT_EQ(s.m_PutEnemy[0].m_nY, -1);
    EXPECT_EQ(s.m_PutEnemy[1].m_nX, 19);
    ASSERT_EQ(s.m_Events.size(), 1);
    EXPECT_EQ(s.m_Events[0].m_Name, "in");
    EXPECT_EQ(s.m_GroupPos[0].m_Positions, (std::vector<CellPos>{{3, 4}, {7, 2}}));
    EXPECT_EQ(s.m_GroupPos[0].m_nX, 0);
    EXPECT_EQ(s.m_Victory[0].m_nGroup, 1);
    EXPECT_EQ(s.m_Victory[0].m_nShowGroup, 0);

    // Unknown tables leave the references alone (the data tool's single files).
    SetTableSource(nullptr);
    s.m_nBack = 9;
    s.SetCell(1, 1, 200);
    s.ValidateStage();
    EXPECT_EQ(s.m_nBack, 9);
    EXPECT_EQ(s.Cell(1, 1), 200);
    SetTableSource(old);
}

TEST(Stage, NewStageValues)
{
    cStage s;
    s.m_Events.push_back(Event("x", 1, 1));
    s.ResizeMap(3, 3);
    s.NewStage();
    EXPECT_EQ(s.m_nWidth, 20);
    EXPECT_EQ(s.m_nHeight, 15);
    EXPECT_EQ(s.m_Map, std::vector<int32_t>(480, 0));
    EXPECT_EQ(s.m_GroupPos.size(), 2);
    EXPECT_TRUE(s.m_Events.empty());
    EXPECT_EQ(s.m_Name, SJ("ステージ"));
    EXPECT_EQ(s.m_nRewardKind, 1);
    EXPECT_EQ(s.m_nRewardSecond, 50);
    EXPECT_EQ(s.m_nExpRate, 100);
}
