#include <gtest/gtest.h>

#include <filesystem>

#include "app/world_commands.h"
#include "base/text.h"
#include "project/project.h"
#include "tests/test_util.h"

namespace {

// A project folder holding only the world map file, with the map edited in
// memory afterwards.
struct WorldFixture {
    TempDir dir;
    Project p;
    WorldEditState ed;
    std::vector<uint8_t> saved;

    WorldFixture()
    {
        std::filesystem::create_directories("data/database");
        p.m_WorldMap.m_Chips.resize(4);
        p.m_WorldMap.m_Events.push_back(cWorldEvent());
        EXPECT_TRUE(p.m_WorldMap.SaveFile(ProjectFile::WorldMap));
        saved = ReadFile("data/database/WorldMap.dat");
        WorldEditOptions o;
        SelectWorldChip(ed, 2);
        WorldPenPress(ed, p.m_WorldMap, o, {3, 3});
        WorldPenRelease(ed, {3, 3});
        ClearWorldEvents(ed, p.m_WorldMap, o);
    }
};

}  // namespace

TEST(WorldCommands, NoAndCloseWithoutSavingLeaveTheFileAndReloadIt)
{
    for (bool ask : {true, false}) {
        WorldFixture f;
        ASSERT_TRUE(f.ed.modified);
        RecordingSink sink;
        sink.answer = Answer::No;
        if (ask)
            EXPECT_EQ(ConfirmCloseWorldMap(f.ed, f.p), WorldClose::Reverted);
        else
            EXPECT_TRUE(RevertWorldMap(f.ed, f.p));  // "保存せずに終了" does not ask
        EXPECT_EQ(sink.texts.size(), ask ? 1u : 0u);
        EXPECT_EQ(ReadFile("data/database/WorldMap.dat"), f.saved);
        cWorldMap onDisk;
        ASSERT_TRUE(onDisk.LoadFile(ProjectFile::WorldMap));
        EXPECT_TRUE(onDisk.Equals(f.p.m_WorldMap));
        EXPECT_EQ(f.p.m_WorldMap.Cell(3, 3), 0);
        EXPECT_FALSE(f.ed.modified);
        EXPECT_FALSE(f.ed.undo.CanUndo());
    }
}

TEST(WorldCommands, CloseQuestionAnswers)
{
    {
        WorldFixture f;
        RecordingSink sink;
        sink.answer = Answer::Cancel;
        EXPECT_EQ(ConfirmCloseWorldMap(f.ed, f.p), WorldClose::Stay);
        EXPECT_EQ(f.p.m_WorldMap.Cell(3, 3), 2);
        EXPECT_TRUE(f.ed.modified);
        ASSERT_EQ(sink.titles.size(), 1u);
        EXPECT_EQ(sink.titles[0], SJ("保存確認"));
    }
    {
        WorldFixture f;
        RecordingSink sink;
        sink.answer = Answer::Yes;
        EXPECT_EQ(ConfirmCloseWorldMap(f.ed, f.p), WorldClose::Saved);
        EXPECT_FALSE(f.ed.modified);
        cWorldMap onDisk;
        ASSERT_TRUE(onDisk.LoadFile(ProjectFile::WorldMap));
        EXPECT_EQ(onDisk.Cell(3, 3), 2);
        EXPECT_EQ(ConfirmCloseWorldMap(f.ed, f.p), WorldClose::Unchanged);
        EXPECT_EQ(sink.texts.size(), 1u);
    }
    {
        // A save that fails says so with the path and stays, still modified.
        WorldFixture f;
        std::filesystem::remove_all("data");
        std::filesystem::create_directories("data/database/WorldMap.dat/blocked");
        RecordingSink sink;
        sink.answer = Answer::Yes;
        EXPECT_EQ(ConfirmCloseWorldMap(f.ed, f.p), WorldClose::Stay);
        EXPECT_TRUE(f.ed.modified);
        ASSERT_EQ(sink.texts.size(), 2u);
        EXPECT_NE(sink.texts[1].find("WorldMap.dat"), std::string::npos);
    }
    {
        // A reload that fails keeps memory.
        WorldFixture f;
        std::filesystem::remove("data/database/WorldMap.dat");
        RecordingSink sink;
        EXPECT_FALSE(RevertWorldMap(f.ed, f.p));
        EXPECT_EQ(f.p.m_WorldMap.Cell(3, 3), 2);
        EXPECT_FALSE(sink.texts.empty());
    }
}
