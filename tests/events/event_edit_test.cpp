#include "events/event_edit.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/text.h"
#include "tests/events/event_test_util.h"

using namespace evctl;

namespace {

constexpr int kTriggerControls[] = {kWho, kPresence, kGroup, kFriend, kEnemyGroupOn, kEnemyGroup, kEnemyIdOn, kEnemyId};

cEventPage PageWithEverythingOn()
{
    cEventPage page;
    page.m_bTurnAOn = page.m_bTurnBOn = page.m_bEventVarOn = 1;
    page.m_nCommonVar = 5;
    page.m_Timing = TriggerTiming::FriendCommand;
    page.m_Scope = TriggerScope::PositionGroup;
    page.m_nWho = 3;
    page.m_bEnemyGroupOn = page.m_bEnemyIdOn = 1;
    return page;
}

}  // namespace

TEST(EventEnabling, NoScopeDisablesTheWholeTriggerWhateverWho)
{
    for (int who = 0; who < 6; ++who) {
        cEventPage page = PageWithEverythingOn();
        page.m_Scope = TriggerScope::None;
        page.m_nWho = who;
        auto states = EventEditorEnabling(&page, false);
        for (int id : kTriggerControls)
            EXPECT_FALSE(IsEnabled(states, id)) << "who " << who << " id " << id;
        EXPECT_TRUE(IsEnabled(states, kScope));
    }
}

TEST(EventEnabling, WhoDecidesFriendAndEnemyConditions)
{
    struct Row { int scope, who, groupOn, idOn; bool group, friendC, enemyChecks, enemyGroup, enemyId; };
    const Row rows[] = {
        // Inside a position group, enemies: the edits follow their check boxes.
        {3, 2, 1, 0, true, false, true, true, false},
        {3, 2, 0, 1, true, false, true, false, true},
        {3, 2, 0, 0, true, false, true, false, false},
        // Anywhere on the map: no group.
        {1, 0, 1, 1, false, false, false, false, false},
        {1, 1, 1, 1, false, true, false, false, false},
        {1, 4, 1, 1, false, true, false, false, false},
        {2, 3, 1, 1, false, true, true, true, true},
        {2, 5, 0, 1, false, true, true, false, true},
    };
    for (const Row& r : rows) {
        cEventPage page;
        page.m_Scope = static_cast<TriggerScope>(r.scope);
        page.m_nWho = r.who;
        page.m_bEnemyGroupOn = r.groupOn;
        page.m_bEnemyIdOn = r.idOn;
        auto s = EventEditorEnabling(&page, false);
        SCOPED_TRACE(testing::Message() << "scope " << r.scope << " who " << r.who);
        EXPECT_TRUE(IsEnabled(s, kWho));
        EXPECT_TRUE(IsEnabled(s, kPresence));
        EXPECT_EQ(IsEnabled(s, kGroup), r.group);
        EXPECT_EQ(IsEnabled(s, kFriend), r.friendC);
        EXPECT_EQ(IsEnabled(s, kEnemyGroupOn), r.enemyChecks);
        EXPECT_EQ(IsEnabled(s, kEnemyIdOn), r.enemyChecks);
        EXPECT_EQ(IsEnabled(s, kEnemyGroup), r.enemyGroup);
        EXPECT_EQ(IsEnabled(s, kEnemyId), r.enemyId);
    }
}

TEST(EventEnabling, ConditionsFollowTheirSwitches)
{
    cEventPage page;
    for (int timing = 0; timing < 23; ++timing) {
        page.m_Timing = static_cast<TriggerTiming>(timing);
        EXPECT_EQ(IsEnabled(EventEditorEnabling(&page, false), kCommandName), timing == 3 || timing == 16) << timing;
    }
    auto off = EventEditorEnabling(&page, false);
    for (int id : {kTurnABase, kTurnAStep, kTurnAPlus, kTurnAMultiple, kTurnBFrom, kTurnBTo, kTurnBTilde,
                   kEventVarValue, kEventVarCompare, kCommonVarValue, kCommonVarCompare})
        EXPECT_FALSE(IsEnabled(off, id)) << id;
    cEventPage on = PageWithEverythingOn();
    auto s = EventEditorEnabling(&on, false);
    for (int id : {kTurnABase, kTurnAStep, kTurnBFrom, kTurnBTo, kEventVarValue, kEventVarCompare,
                   kCommonVarValue, kCommonVarCompare, kCommandName, kGroup, kFriend, kEnemyGroup, kEnemyId})
        EXPECT_TRUE(IsEnabled(s, id)) << id;
}

TEST(EventEnabling, StartEventModeAndMissingPage)
{
    cEventPage page = PageWithEverythingOn();
    for (const auto& [id, enabled] : EventEditorEnabling(&page, true)) {
        bool kept = id == kActions || id == kActionInsert || id == kActionEdit || id == kActionDelete ||
                    id == kOk || id == kCancel;
        EXPECT_EQ(enabled, kept) << id;
    }
    // An event without pages: the page list stays usable, the page area not.
    auto none = EventEditorEnabling(nullptr, false);
    for (int id : {kName, kHeld, kPages, kPageInsert, kPageDelete, kOk})
        EXPECT_TRUE(IsEnabled(none, id)) << id;
    for (int id : {kTurnAOn, kTiming, kScope, kGraphic, kActions, kActionInsert})
        EXPECT_FALSE(IsEnabled(none, id)) << id;
}

TEST(EventEditSession, PagesSwitchInsertDeleteAndWriteBack)
{
    cEvent original;
    original.m_Name = "ev";
    original.m_Pages.resize(2);
    original.m_Pages[1].m_Actions.resize(3);
    cEvent before = original;

    EventEditSession s;
    s.Open(original);
    ASSERT_EQ(s.Shown(), 0);
    s.page.m_nTurnABase = 7;
    s.event.m_Name = "changed";
    s.Show(1);
    EXPECT_EQ(s.page.m_Actions.size(), 3);
    s.Show(0);
    EXPECT_EQ(s.page.m_nTurnABase, 7);
    EXPECT_EQ(PageLineText(s.pages[0]), SJ("ｱｸｼｮﾝ×0"));
    EXPECT_EQ(PageLineText(s.pages[1]), SJ("ｱｸｼｮﾝ×3"));

    // Nothing reaches the event before the write-back (Cancel).
    EXPECT_TRUE(original.Equals(before));

    EXPECT_FALSE(s.InsertPage(3));
    EXPECT_TRUE(s.InsertPage(2));  // the append line
    EXPECT_EQ(s.Shown(), 2);
    EXPECT_TRUE(s.InsertPage(0));
    EXPECT_EQ(s.pages.size(), 4u);
    EXPECT_EQ(s.pages[1].m_nTurnABase, 7);
    EXPECT_TRUE(s.DeletePage(0));
    EXPECT_TRUE(s.DeletePage(2));
    EXPECT_EQ(s.Shown(), 1);
    EXPECT_TRUE(s.DeletePage(1));
    EXPECT_FALSE(s.DeletePage(0));  // the last page stays
    s.page.m_nGraphic = 12;

    s.WriteBack(original);
    EXPECT_EQ(original.m_Name, "changed");
    ASSERT_EQ(original.m_Pages.size(), 1);
    EXPECT_EQ(original.m_Pages[0].m_nTurnABase, 7);
    EXPECT_EQ(original.m_Pages[0].m_nGraphic, 12);
}

TEST(EventEditSession, EventWithoutPagesShowsNoneUntilInsert)
{
    cEvent empty;
    empty.m_Pages.clear();
    EventEditSession s;
    s.Open(empty);
    EXPECT_FALSE(s.HasPage());
    EXPECT_FALSE(s.DeletePage(0));
    EXPECT_TRUE(s.InsertPage(0));
    EXPECT_TRUE(s.HasPage());
}

TEST(EventPalette, DataCountCutsOrExtends)
{
    RecordList<cEvent> palette;
    palette.resize(5);
    for (int i = 0; i < 5; ++i)
        palette[i].m_Name = std::to_string(i);
    EXPECT_TRUE(ResizeEventPalette(palette, 3));
    ASSERT_EQ(palette.size(), 3);
    EXPECT_EQ(palette[2].m_Name, "2");
    EXPECT_TRUE(ResizeEventPalette(palette, 7));
    ASSERT_EQ(palette.size(), 7);
    EXPECT_EQ(palette[2].m_Name, "2");
    for (int i = 3; i < 7; ++i) {
        EXPECT_TRUE(palette[i].m_Name.empty());
        EXPECT_EQ(palette[i].m_Pages.size(), 1);
    }
    EXPECT_FALSE(ResizeEventPalette(palette, 0));
    EXPECT_FALSE(ResizeEventPalette(palette, 1000));
    EXPECT_EQ(palette.size(), 7);
}

TEST(EventHover, NamePagesAndFirstTiming)
{
    cEvent ev;
    ev.m_Name = SJ("宝箱");
    ev.m_Pages.resize(2);
    ev.m_Pages[0].m_Timing = TriggerTiming::StageStart;
    EXPECT_EQ(EventHoverText(ev), SJ("宝箱 (2ページ) ステージ開始前(A)"));
    ev.m_Pages.clear();
    EXPECT_EQ(EventHoverText(ev), SJ("宝箱 (0ページ)"));
}
