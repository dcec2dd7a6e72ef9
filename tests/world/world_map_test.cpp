#include "world/world_map.h"

#include <gtest/gtest.h>

#include "base/text.h"
#include "records/tables.h"
#include "tests/test_util.h"

namespace {

std::vector<uint8_t> BodyAt(cSerial& r, uint32_t version)
{
    uint32_t saved = CurrentVersion;
    CurrentVersion = version;
    RecordWriter out;
    r.SaveBody(out);
    CurrentVersion = saved;
    return out.Bytes();
}

void Load(cSerial& r, const std::vector<uint8_t>& bytes, uint32_t version)
{
    RecordReader in(bytes);
    LoadedFileVersion = version;
    r.LoadBody(in);
    EXPECT_TRUE(in.AtEnd()) << version;
}

}  // namespace

TEST(WorldMap, ChipSetRebuiltBelow98)
{
    cWorldMap source;
    for (int i = 0; i < 3; ++i) {
        cWorldChip& c = source.m_Chips.emplace_back();
        c.m_nGraphic = 40 + i;
        c.m_Text = "kept?";
        c.m_Name = SJ("海");
    }
    for (uint32_t version : {97u, 98u}) {
        cWorldMap w;
        Load(w, BodyAt(source, version), version);
        if (version < 98) {
            ASSERT_EQ(w.m_Chips.size(), 10);
            for (int i = 0; i < 10; ++i) {
                EXPECT_EQ(w.m_Chips[i].m_nGraphic, i);
                EXPECT_EQ(w.m_Chips[i].m_bImpassable, i < 5 ? 1 : 0);
                EXPECT_EQ(w.m_Chips[i].m_Text, "");
            }
        } else {
            ASSERT_EQ(w.m_Chips.size(), 3);
            EXPECT_EQ(w.m_Chips[2].m_nGraphic, 42);
            EXPECT_EQ(w.m_Chips[2].m_Text, "kept?");
        }
    }
}

TEST(WorldMap, ReservedBytesAndBackgroundByVersion)
{
    // Three reserved bytes from 20 on, after the background (after the start
    // row before 66, when there was no background); one reserved word always.
    for (uint32_t version : {19u, 20u, 65u, 66u, 340u}) {
        Bytes b;
        b.i32(20).i32(15).i32(32).i32(5).i32(9).i32(7);
        if (version >= 66) b.i32(2);
        if (version >= 20) b.u8(0xAA).u8(0xBB).u8(0xCC);
        b.u32(0x12345678).i32(1).str(SJ("大陸")).str("image\\back.png");
        b.u32(0).u32(0).u32(0).u32(0);  // chips, grid, events, palette
        cWorldMap w;
        w.m_nBack = 3;
        Load(w, b.data, version);
        EXPECT_EQ(w.m_nBack, version >= 66 ? 2 : 3) << version;
        EXPECT_EQ(w.m_bUseBackImage, 1) << version;
        EXPECT_EQ(w.m_Name, SJ("大陸")) << version;
        EXPECT_EQ(w.m_BackImage, "image\\back.png") << version;
        if (version == 340) {
            // One scratch byte serves all three: the last one read is written thrice.
            RecordWriter out;
            w.SaveBody(out);
            std::vector<uint8_t> expect = b.data;
            expect.resize(expect.size() - 16);
            expect[28] = expect[29] = 0xCC;
            std::vector<uint8_t> got = out.Bytes();
            got.resize(expect.size());
            EXPECT_EQ(got, expect);
        }
    }
    // After an Init the reserved values are written as 0.
    cWorldMap fresh;
    std::vector<uint8_t> bytes = BodyAt(fresh, 340);
    EXPECT_EQ(bytes[28], 0);
    EXPECT_EQ(bytes[31], 0);
}

TEST(WorldMap, Validation)
{
    FixedTableSource tables;
    tables.sizes[int(Table::Back)] = 2;
    const TableSource* old = SetTableSource(&tables);
    cWorldMap w;
    w.m_Chips.resize(3);
    w.m_nStartX = 25;
    w.m_nStartY = 3;
    w.m_nBack = 2;
    w.SetCell(0, 0, 2);
    w.SetCell(1, 0, 3);
    w.SetCell(19, 14, 7);
    w.m_Events.emplace_back().m_nX = 20;
    w.m_Events.emplace_back().m_nY = 14;
    w.m_Events.emplace_back().m_nY = 15;
    RecordWriter out;
    w.SaveBody(out);
    EXPECT_EQ(w.m_nStartX, 19);
    EXPECT_EQ(w.m_nStartY, 3);
    EXPECT_EQ(w.m_nBack, 1);
    EXPECT_EQ(w.Cell(0, 0), 2);
    EXPECT_EQ(w.Cell(1, 0), 0);
    EXPECT_EQ(w.Cell(19, 14), 0);
    ASSERT_EQ(w.m_Events.size(), 1);
    EXPECT_EQ(w.m_Events[0].m_nY, 14);
    SetTableSource(old);
}

TEST(WorldMap, NewWorldMap)
{
    cWorldMap w;
    EXPECT_EQ(w.m_Name, SJ("ワールド"));
    EXPECT_EQ(w.m_nStartX, 9);
    EXPECT_EQ(w.m_nStartY, 7);
    EXPECT_EQ(w.m_Map.size(), 480u);
    ASSERT_EQ(w.m_Palette.size(), 1);
    EXPECT_EQ(w.m_Palette[0].m_Name, SJ("デフォルト"));
    EXPECT_EQ(w.m_Palette[0].m_Pages.size(), 1);
}
