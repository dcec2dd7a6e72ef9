#include "stage/stage_elements.h"
#include "world/world_event.h"

#include <tuple>

#include <gtest/gtest.h>

#include "base/text.h"
#include "records/tables.h"
#include "tests/records/record_bytes.h"
#include "tests/test_util.h"

namespace {

using Cells = std::vector<CellPos>;

// A page as a file of the version holds it.
std::vector<uint8_t> PageBytes(uint32_t version, const std::string& stageName, const std::string& stageFile)
{
    Bytes b;
    b.i32(2).i32(3).i32(4).i32(1).i32(1).i32(2).i32(5).i32(6).i32(-7).i32(4);
    if (version >= 54) b.i32(1).i32(8).i32(-999999);
    if (version >= 107) b.str(stageName);
    b.str(stageFile);
    return b.data;
}

}  // namespace

TEST(PutEnemy, VersionGates)
{
    // The group flag came in at 46, the character-id pair at 52; absent members
    // keep what the object held. The layout at 340 is the last row.
    struct Case {
        uint32_t version;
        bool groupFlag, charaId;
    } cases[] = {{45, false, false}, {46, true, false}, {51, true, false}, {52, true, true}, {340, true, true}};
    for (const Case& c : cases) {
        Bytes b;
        b.i32(7).i32(-1).i32(3);
        if (c.groupFlag) b.i32(1);
        b.i32(12);
        if (c.charaId) b.i32(1).i32(321);
        // One movement rule in the layout of the version: target 2, the rest 0.
        std::vector<uint8_t> rest(cMoveAI().MinSize(c.version) - 8);
        b.u32(1).i32(0).i32(2).raw(rest.data(), rest.size());
        cPutEnemy r;
        r.m_bGroup = r.m_bCharaId = r.m_nCharaId = 5;
        EXPECT_EQ(ReadBody(r, b.data, c.version), b.data.size()) << c.version;
        EXPECT_EQ(r.m_nGroup, 12) << c.version;
        EXPECT_EQ(r.m_bGroup, c.groupFlag ? 1 : 5) << c.version;
        EXPECT_EQ(r.m_bCharaId, c.charaId ? 1 : 5) << c.version;
        EXPECT_EQ(r.m_nCharaId, c.charaId ? 321 : 5) << c.version;
        ASSERT_EQ(r.m_MoveAI.size(), 1) << c.version;
        EXPECT_EQ(r.m_MoveAI[0].m_nTarget, MoveAITarget::EffectiveAllyMagic) << c.version;
        if (c.version == kDataVersion) {
            EXPECT_EQ(Body(r), b.data);
        }
    }
}

TEST(GroupPos, CellsEncodingAndJson)
{
    Bytes b;
    b.i32(3).i32(4).str(SJ("北")).u32(2).i32(1).i32(2).i32(-1).i32(63);
    cGroupPos g;
    ReadBody(g, b.data, kDataVersion);
    EXPECT_EQ(g.m_Positions, (Cells{{1, 2}, {-1, 63}}));
    EXPECT_EQ(Body(g), b.data);

    // A count of 0 or less leaves the cells as they were; one beyond the file's
    // end reads what is there.
    for (auto [count, expected] : {std::pair{0u, Cells{{5, 6}}}, {0xFFFFFFFFu, Cells{{5, 6}}}, {1000u, Cells{{8, 9}}}}) {
        g.m_Positions = {{5, 6}};
        ReadBody(g, Bytes().i32(0).i32(0).str("").u32(count).i32(8).i32(9).data, kDataVersion);
        EXPECT_EQ(g.m_Positions, expected) << count;
    }

    Json j = g.ToJson();
    EXPECT_EQ(j["positions"].dump(), "[[8,9]]");
    std::string error;
    j["positions"] = Json::parse("[[1,2],[-3,4]]");
    ASSERT_TRUE(g.FromJson(j, error)) << error;
    EXPECT_EQ(g.m_Positions, (Cells{{1, 2}, {-3, 4}}));
    for (const char* bad : {"[[1]]", "[[1,2,3]]", "[1,2]", "[[1,\"2\"]]", "[[1,4294967296]]"}) {
        j["positions"] = Json::parse(bad);
        EXPECT_FALSE(g.FromJson(j, error)) << bad;
    }
}

TEST(EndCond, Layout)
{
    cEndCond e;
    EXPECT_EQ(Body(e), (Bytes().i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).u32(1).data));
    Bytes b;
    b.i32(4).i32(999).i32(2).i32(64).i32(63).i32(1).str(SJ("敵を全滅させる"));
    ReadBody(e, b.data, kDataVersion);
    EXPECT_EQ(e.ToJson().dump(),
              R"({"target":4,"charaId":999,"group":2,"x":64,"y":63,"showGroup":1,"text":"敵を全滅させる"})");
}

TEST(StageElements, AdjustedToTheStage)
{
    const StageExtent stage{20, 15, 3};
    struct GroupCase {
        int32_t x, y;
        Cells cells;
        int32_t x2, y2;
        Cells cells2;
    } groups[] = {
        {20, 14, {{3, 4}, {25, 1}, {7, 2}}, 0, 14, {{3, 4}, {7, 2}}},
        {19, 15, {{19, 14}, {0, 15}, {-1, -1}}, 19, 0, {{19, 14}, {-1, -1}}},
    };
    for (const GroupCase& c : groups) {
        cGroupPos g;
        g.m_nX = c.x, g.m_nY = c.y, g.m_Positions = c.cells;
        g.Adjust(stage);
        EXPECT_EQ(std::tuple(g.m_nX, g.m_nY, g.m_Positions), std::tuple(c.x2, c.y2, c.cells2));
    }

    // group, x, y, displayed group -> after
    using Four = std::array<int32_t, 4>;
    for (auto [before, after] : {std::pair{Four{5, 3, 4, 3}, Four{1, 3, 4, 0}}, {Four{2, 20, 15, 2}, Four{2, 19, 14, 2}},
                                 {Four{3, 64, -1, 0}, Four{1, 19, -1, 0}}}) {
        cEndCond e;
        e.m_nGroup = before[0], e.m_nX = before[1], e.m_nY = before[2], e.m_nShowGroup = before[3];
        e.Adjust(stage);
        EXPECT_EQ((Four{e.m_nGroup, e.m_nX, e.m_nY, e.m_nShowGroup}), after);
    }

    // A placement: the enemy against the enemy table, the rules' destinations
    // against the stage's position groups; the cell is left to the stage.
    FixedTableSource source;
    source.sizes[static_cast<int>(Table::Enemy)] = 10;
    const TableSource* old = SetTableSource(&source);
    cPutEnemy p;
    p.m_nEnemy = 10;
    p.m_nX = 30;
    p.m_MoveAI.emplace_back().m_nDestination = 2;
    p.m_MoveAI.emplace_back().m_nDestination = 3;
    p.Adjust(stage);
    EXPECT_EQ((Four{p.m_nEnemy, p.m_nX, p.m_MoveAI[0].m_nDestination, p.m_MoveAI[1].m_nDestination}), (Four{0, 30, 2, 0}));
    p.m_nEnemy = 9;
    p.Adjust(stage);
    EXPECT_EQ(p.m_nEnemy, 9);
    SetTableSource(old);
}

TEST(WorldEvent, LayoutAndPages)
{
    EXPECT_EQ(cWorldEvent().m_Pages.size(), 1);

    Bytes b;
    b.i32(199).i32(-1).str(SJ("城")).u32(2);
    b.i32(2).i32(3).i32(999).i32(1).i32(11).i32(2).i32(998).i32(997).i32(-999999).i32(7);
    b.i32(12).i32(5).i32(999999).str(SJ("最終決戦")).str(SJ("data\\stg\\城.stg2"));
    b.i32(1).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).str("").str("");
    cWorldEvent e;
    EXPECT_EQ(ReadBody(e, b.data, kDataVersion), b.data.size());
    ASSERT_EQ(e.m_Pages.size(), 2);
    EXPECT_EQ(e.m_Pages[0].ToJson().dump(),
              R"({"eventType":2,"graphic":3,"stageNumber":999,"passableUncleared":1,"replayable":11,)"
              R"("onGameClear":2,"requiredStage":998,"commonVar":997,"commonVarValue":-999999,"commonVarCompare":7,)"
              R"("variationOn":12,"variationVar":5,"variationValue":999999,"stageName":"最終決戦",)"
              R"("stageFile":"data\\stg\\城.stg2"})");
    EXPECT_EQ(Body(e), b.data);

    // Read from a file, a world event holds exactly the file's pages.
    ReadBody(e, Bytes().i32(0).i32(0).str("").u32(0).data, kDataVersion);
    EXPECT_TRUE(e.m_Pages.empty());
}

TEST(WorldEvent, OldPagesRepaired)
{
    struct Case {
        uint32_t version;
        const char* stageFile;
        const char* expectedFile;
        const char* expectedName;  // the object held "old" before the read; the file holds "new"
        bool variationRead;
    } cases[] = {
        {53, "data\\stg\\a.stg", "data\\stg\\a.stg2", "", false},
        {54, "data\\stg\\a.stg", "data\\stg\\a.stg2", "", true},
        {105, "a.b\\noext", "a.stg2", "", true},  // everything after the last "." goes
        {105, "noext", "noext", "", true},
        {106, "data\\stg\\a.stg", "data\\stg\\a.stg", "", true},
        {107, "data\\stg\\a.stg", "data\\stg\\a.stg", "new", true},
        {340, "a.stg2", "a.stg2", "new", true},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes = PageBytes(c.version, "new", c.stageFile);
        cWorldEventPage p;
        p.m_StageName = "old";
        p.m_nVariationVar = 77;
        EXPECT_EQ(ReadBody(p, bytes, c.version), bytes.size()) << c.version;
        EXPECT_EQ(p.m_StageFile, c.expectedFile) << c.version << " " << c.stageFile;
        EXPECT_EQ(p.m_StageName, c.expectedName) << c.version;
        EXPECT_EQ(p.m_nVariationVar, c.variationRead ? 8 : 77) << c.version;
    }
}
