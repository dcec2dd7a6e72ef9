#include "records/world_event.h"

#include <gtest/gtest.h>

#include "app/text.h"
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

TEST(WorldEvent, RoundTripAndPages)
{
    cWorldEvent fresh;
    ASSERT_EQ(fresh.m_Pages.size(), 1);
    EXPECT_TRUE(fresh.m_Pages[0].Equals(cWorldEventPage()));

    cWorldEvent e;
    e.m_nX = 199;
    e.m_nY = -1;
    e.m_Name = SJ("城");
    cWorldEventPage& p = e.m_Pages[0];
    p.m_nEventType = WorldEventType::Wall;
    p.m_nGraphic = 3;
    p.m_nStageNumber = 999;
    p.m_bPassableUncleared = 1;
    p.m_bReplayable = 1;
    p.m_nOnGameClear = 2;
    p.m_nRequiredStage = 998;
    p.m_nCommonVar = 999;
    p.m_nCommonVarValue = -999999;
    p.m_nCommonVarCompare = CompareOp::NotMultipleOf;
    p.m_bVariation = 1;
    p.m_nVariationVar = 5;
    p.m_nVariationValue = 999999;
    p.m_StageName = SJ("最終決戦");
    p.m_StageFile = SJ("data\\stg\\城.stg2");
    e.m_Pages.emplace_back().m_nEventType = WorldEventType::Road;

    Bytes b;
    b.i32(199).i32(-1).str(SJ("城")).u32(2);
    b.i32(2).i32(3).i32(999).i32(1).i32(1).i32(2).i32(998).i32(999).i32(-999999).i32(7);
    b.i32(1).i32(5).i32(999999).str(SJ("最終決戦")).str(SJ("data\\stg\\城.stg2"));
    b.i32(1).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).i32(0).str("").str("");
    EXPECT_EQ(Body(e), b.data);
    cWorldEvent back;
    EXPECT_EQ(ReadBody(back, b.data, kDataVersion), b.data.size());
    EXPECT_TRUE(back.Equals(e));
    back.m_Pages[1].m_StageFile = "x";
    EXPECT_FALSE(back.Equals(e));

    // Read from a file, a world event holds exactly the file's pages.
    cWorldEvent none;
    ReadBody(none, Bytes().i32(0).i32(0).str("").u32(0).data, kDataVersion);
    EXPECT_TRUE(none.m_Pages.empty());
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
        {105, "", "", "", true},
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
        EXPECT_EQ(p.m_nCommonVarCompare, CompareOp::Above) << c.version;
    }
}
