#include "records/stage_elements.h"

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

std::size_t ReadBody(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    return in.Position();
}

std::vector<CellPos> Cells(std::initializer_list<CellPos> cells) { return cells; }

}  // namespace

TEST(PutEnemy, RoundTripAndVersionGates)
{
    cPutEnemy p;
    p.m_nEnemy = 4;
    p.m_nX = -1;
    p.m_nY = 63;
    p.m_bGroup = 1;
    p.m_nGroup = 100;
    p.m_bCharaId = 1;
    p.m_nCharaId = 999;
    p.m_MoveAI.emplace_back().m_nDestination = 1;
    std::vector<uint8_t> bytes = Body(p);
    std::vector<uint8_t> head = Bytes().i32(4).i32(-1).i32(63).i32(1).i32(100).i32(1).i32(999).u32(1).data;
    ASSERT_GT(bytes.size(), head.size());
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));
    cPutEnemy back;
    EXPECT_EQ(ReadBody(back, bytes, kDataVersion), bytes.size());
    EXPECT_TRUE(back.Equals(p));
    back.m_MoveAI[0].m_nDestination = 0;
    EXPECT_FALSE(back.Equals(p));
    EXPECT_FALSE(p.IsPlaced());

    // The group flag came in at 46, the character-id pair at 52; absent members
    // keep what the object held, the group number is always read.
    struct Case {
        uint32_t version;
        bool groupFlag, charaId;
    } cases[] = {{45, false, false}, {46, true, false}, {51, true, false}, {52, true, true}};
    for (const Case& c : cases) {
        Bytes b;
        b.i32(7).i32(2).i32(3);
        if (c.groupFlag) b.i32(1);
        b.i32(12);
        if (c.charaId) b.i32(1).i32(321);
        b.u32(0);
        cPutEnemy r;
        r.m_bGroup = 5;
        r.m_bCharaId = 5;
        r.m_nCharaId = 5;
        EXPECT_EQ(ReadBody(r, b.data, c.version), b.data.size()) << c.version;
        EXPECT_EQ(r.m_nGroup, 12) << c.version;
        EXPECT_EQ(r.m_bGroup, c.groupFlag ? 1 : 5) << c.version;
        EXPECT_EQ(r.m_bCharaId, c.charaId ? 1 : 5) << c.version;
        EXPECT_EQ(r.m_nCharaId, c.charaId ? 321 : 5) << c.version;
    }
}

TEST(GroupPos, CellsEncodingAndEmptyRead)
{
    cGroupPos g;
    g.m_nX = 3;
    g.m_nY = 4;
    g.m_Name = SJ("北");
    g.m_Positions = Cells({{1, 2}, {-1, 63}});
    Bytes b;
    b.i32(3).i32(4).str(SJ("北")).u32(2).i32(1).i32(2).i32(-1).i32(63);
    EXPECT_EQ(Body(g), b.data);
    cGroupPos back;
    ReadBody(back, b.data, kDataVersion);
    EXPECT_TRUE(back.Equals(g));
    back.m_Positions[1].y = 0;
    EXPECT_FALSE(back.Equals(g));

    // A count of 0 or less leaves the cells as they were.
    for (int32_t count : {0, -1}) {
        cGroupPos r;
        r.m_Positions = Cells({{5, 6}});
        ReadBody(r, Bytes().i32(0).i32(0).str("").i32(count).data, kDataVersion);
        EXPECT_EQ(r.m_Positions, Cells({{5, 6}})) << count;
    }
    // A count beyond the file's end reads only what is there.
    cGroupPos cut;
    ReadBody(cut, Bytes().i32(0).i32(0).str("").u32(1000).i32(8).i32(9).data, kDataVersion);
    EXPECT_EQ(cut.m_Positions, Cells({{8, 9}}));

    // JSON form: [[x, y], ...].
    Json j = g.ToJson();
    EXPECT_EQ(j["positions"].dump(), "[[1,2],[-1,63]]");
    cGroupPos fromJson;
    std::string error;
    ASSERT_TRUE(fromJson.FromJson(j, error)) << error;
    EXPECT_TRUE(fromJson.Equals(g));
    for (const char* bad : {"[[1]]", "[[1,2,3]]", "[1,2]", "[[1,\"2\"]]", "[[1,4294967296]]"}) {
        j["positions"] = Json::parse(bad);
        EXPECT_FALSE(fromJson.FromJson(j, error)) << bad;
    }
}

TEST(EndCond, RoundTripAndEmptyText)
{
    cEndCond e;
    EXPECT_EQ(Body(e), (Bytes().i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).u32(1).data));
    e.m_nTarget = 4;
    e.m_nCharaId = 999;
    e.m_nGroup = 2;
    e.m_nX = 64;
    e.m_nY = 63;
    e.m_nShowGroup = 1;
    e.m_Text = SJ("敵を全滅させる");
    Bytes b;
    b.i32(4).i32(999).i32(2).i32(64).i32(63).i32(1).str(SJ("敵を全滅させる"));
    EXPECT_EQ(Body(e), b.data);
    cEndCond back;
    ReadBody(back, b.data, kDataVersion);
    EXPECT_TRUE(back.Equals(e));
}

TEST(StageElements, AdjustedToTheStage)
{
    StageExtent stage{20, 15, 3};

    struct GroupCase {
        int32_t x, y;
        std::vector<CellPos> cells;
        int32_t x2, y2;
        std::vector<CellPos> cells2;
    } groups[] = {
        {20, 14, Cells({{3, 4}, {25, 1}, {7, 2}}), 0, 14, Cells({{3, 4}, {7, 2}})},
        {19, 15, Cells({{19, 14}, {0, 15}, {-1, -1}}), 19, 0, Cells({{19, 14}, {-1, -1}})},
        {0, 0, Cells({{20, 15}}), 0, 0, Cells({})},
    };
    for (const GroupCase& c : groups) {
        cGroupPos g;
        g.m_nX = c.x;
        g.m_nY = c.y;
        g.m_Positions = c.cells;
        g.Adjust(stage);
        EXPECT_EQ(g.m_nX, c.x2);
        EXPECT_EQ(g.m_nY, c.y2);
        EXPECT_EQ(g.m_Positions, c.cells2);
    }

    struct EndCase {
        int32_t group, x, y, show;
        int32_t group2, x2, y2, show2;
    } ends[] = {
        {5, 3, 4, 3, 1, 3, 4, 0},
        {2, 20, 15, 2, 2, 19, 14, 2},
        {3, 64, 64, 0, 1, 19, 14, 0},
    };
    for (const EndCase& c : ends) {
        cEndCond e;
        e.m_nGroup = c.group;
        e.m_nX = c.x;
        e.m_nY = c.y;
        e.m_nShowGroup = c.show;
        e.Adjust(stage);
        EXPECT_EQ(e.m_nGroup, c.group2);
        EXPECT_EQ(e.m_nX, c.x2);
        EXPECT_EQ(e.m_nY, c.y2);
        EXPECT_EQ(e.m_nShowGroup, c.show2);
    }

    // Placements: the enemy against the enemy table, the rules' destinations
    // against the stage's position groups.
    FixedTableSource source;
    source.sizes[static_cast<int>(Table::Enemy)] = 10;
    const TableSource* old = SetTableSource(&source);
    for (auto [enemy, expected] : {std::pair{9, 9}, {10, 0}, {0, 0}}) {
        cPutEnemy p;
        p.m_nEnemy = enemy;
        p.m_nX = 30;  // off the map: left for the stage
        p.m_MoveAI.emplace_back().m_nDestination = 2;
        p.m_MoveAI.emplace_back().m_nDestination = 3;
        p.Adjust(stage);
        EXPECT_EQ(p.m_nEnemy, expected);
        EXPECT_EQ(p.m_nX, 30);
        EXPECT_EQ(p.m_MoveAI[0].m_nDestination, 2);
        EXPECT_EQ(p.m_MoveAI[1].m_nDestination, 0);
    }
    SetTableSource(old);
}
