// The start event's write-back: only the first page's actions come from the
// editor, the rest is written as loaded, and the file is written every time.
#include <gtest/gtest.h>

#include <filesystem>

#include "events/action_kinds.h"
#include "events/start_event.h"
#include "tests/events/event_test_util.h"

TEST(StartEvent, OnlyTheFirstPagesActionsAreStoredAndTheFileIsAlwaysWritten)
{
    TempDir dir;
    const char* path = "StartEvent.dat";
    cEvent start;
    start.m_Name = SJ("初期イベント");
    start.m_nX = 3;
    start.m_bHeldByCharacter = 1;
    start.m_Pages[0].m_nCommonVar = 5;
    start.m_Pages[0].m_nGroupIndex = 2;
    start.m_Pages[0].m_Actions.push_back(cEventAct(Act::Party));
    start.m_Pages.emplace_back().m_nCommonVar = 9;  // a second page stays as it is

    // Unchanged: the file is written all the same.
    cEvent edited = StartEventForEditing(start);
    EXPECT_TRUE(edited.Equals(start));
    ASSERT_EQ(StoreStartEvent(start, edited, path), 1);
    ASSERT_TRUE(std::filesystem::exists(path));

    // Everything but the first page's actions goes back as it was.
    cEvent before = start;
    edited.m_Name = SJ("別名");
    edited.m_nX = 0;
    edited.m_bHeldByCharacter = 0;
    edited.m_Pages[0].m_nCommonVar = 0;
    edited.m_Pages[0].m_nGroupIndex = -1;  // what a combo without entries would store
    edited.m_Pages[1].m_nCommonVar = 0;
    cEventAct money(Act::Money);
    money.m_Ints[0] = 500;
    edited.m_Pages[0].m_Actions.push_back(money);
    ASSERT_EQ(StoreStartEvent(start, edited, path), 1);
    before.m_Pages[0].m_Actions.push_back(money);
    EXPECT_TRUE(start.Equals(before));
    cEvent read;
    ASSERT_EQ(read.LoadFile(path), 1);
    EXPECT_TRUE(read.Equals(before));

    // A failed save keeps the change in memory.
    edited.m_Pages[0].m_Actions.clear();
    EXPECT_EQ(StoreStartEvent(start, edited, "no\\such\\folder\\StartEvent.dat"), 0);
    EXPECT_TRUE(start.m_Pages[0].m_Actions.empty());
}

TEST(StartEvent, AnEventWithoutPagesOpensWithOneAndSavesIt)
{
    TempDir dir;
    cEvent start;
    start.m_Pages.clear();
    cEvent edited = StartEventForEditing(start);
    ASSERT_EQ(edited.m_Pages.size(), 1);
    EXPECT_TRUE(edited.m_Pages[0].Equals(cEventPage()));
    edited.m_Pages[0].m_Actions.push_back(cEventAct(Act::Money));
    ASSERT_EQ(StoreStartEvent(start, edited, "StartEvent.dat"), 1);
    cEvent read;
    read.m_Pages.clear();
    ASSERT_EQ(read.LoadFile("StartEvent.dat"), 1);
    ASSERT_EQ(read.m_Pages.size(), 1);
    EXPECT_EQ(read.m_Pages[0].m_Actions.size(), 1);
}
