#include "events/event.h"

#include <gtest/gtest.h>

#include "events/action_kinds.h"
#include "events/gval_info.h"
#include "tests/events/event_test_util.h"

namespace {

std::vector<int32_t> Seq(int from, int to)
{
    std::vector<int32_t> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

std::vector<int32_t> Cat(std::initializer_list<std::vector<int32_t>> parts)
{
    std::vector<int32_t> v;
    for (const auto& p : parts)
        v.insert(v.end(), p.begin(), p.end());
    return v;
}

// Actions of older files, each read at a repair's threshold and just below it.
struct RepairCase {
    const char* what;
    uint32_t version;
    int32_t kind;
    std::vector<int32_t> ints;
    int32_t expectedKind;
    std::vector<int32_t> expected;
};

const RepairCase kRepairs[] = {
    // Kinds inserted at 25: 5 and up moved by one, 7 and up (after that) once more.
    {"kind 4 below 25", 24, 4, {1, 2, 3, 4}, 4, {1, 2, 3, 4}},
    {"kind 5 below 25", 24, 5, {1, 2, 3, 4}, 6, {1, 2, 3}},
    {"kind 5 at 25", 25, 5, {1, 2, 3, 4}, 5, {1, 2, 3, 4}},
    // The parameters are cut to the stored kind's count before renumbering:
    // old kind 9 had one parameter, and it becomes the common-variable action.
    {"kind 9 below 67", 66, 9, {7, 8, 9}, 11, {7, 0, 0}},
    {"kind 9 at 67", 67, 9, {7}, 10, {7, 0}},
    {"kind 8 below 95", 94, 8, {1, 0, 0, 0, 0, 0}, 9, {1}},
    {"kind 8 at 95", 95, 8, {1, 0, 0, 0, 0, 0}, 8, {1, 0, 0, 0, 0, 0}},
    {"kind 21 below 103", 102, 21, {1, 2, 3, 4, 5}, 22, {1, 2}},
    {"kind 20 below 103", 102, 20, {1, 2, 3, 4}, 20, {1, 2, 3, 4}},
    {"kind 21 at 103", 103, 21, {1, 2, 3, 4, 5}, 21, {1, 2, 3, 4, 5}},
    // Messages of 56 gain the picture scale (100), the mirror flags, the A-key
    // toggle and the opacity (255), and still hold exactly 26 parameters.
    {"message at 56", 56, 1, Seq(1, 21), 1, Cat({Seq(1, 9), {0}, Seq(10, 20), {0, 0, 255, 21, 100}})},
    {"message at 57", 57, 1, Seq(1, 21), 1, Cat({Seq(1, 9), {0}, Seq(10, 20), {0, 0, 255, 21, 0}})},
    {"message at 59", 59, 1, Seq(1, 24), 1, Cat({Seq(1, 9), {0}, Seq(10, 22), {255, 23, 24}})},
    {"message at 61", 61, 1, Seq(1, 25), 1, Cat({Seq(1, 23), {255, 24, 25}})},
    {"message at 62", 62, 1, Seq(1, 26), 1, Seq(1, 26)},
    // Pictures gain the mirror flags, the display time and the opacity.
    {"picture at 58", 58, 2, Seq(1, 14), 2, Cat({Seq(1, 9), {0, 0, 255}, Seq(10, 14), {0}})},
    {"picture at 61", 61, 2, Seq(1, 17), 2, Cat({Seq(1, 11), {255}, Seq(12, 17)})},
    {"picture at 62", 62, 2, Seq(1, 17), 2, Cat({Seq(1, 17), {0}})},
    // Map chips gain the choice of all or some chips.
    {"map chip below 126", 125, 12, {6, 3, 4, 2}, 12, {6, 0, 3, 4, 2}},
    {"map chip at 126", 126, 12, {6, 3, 4, 2}, 12, {6, 3, 4, 2, 0}},
    // The status action of 15 parameters before 71 starts again from zeros.
    {"status below 71", 70, 15, {5, 5, 5}, 16, std::vector<int32_t>(16, 0)},
    {"status at 71", 71, 15, {5, 5, 5}, 16, Cat({{5, 5, 5}, std::vector<int32_t>(13, 0)})},
    // Music before 281 loops in the stage scene only.
    {"music below 281, stage", 280, 15, {2, 4, 0}, 15, {2, 4, 1}},
    {"music below 281, battle", 280, 15, {3, 4, 1}, 15, {3, 4, 0}},
    {"music at 281", 281, 15, {2, 4, 0}, 15, {2, 4, 0}},
    // Current files are taken as they are, apart from the counts.
    {"current", 340, 9, {7, 8, 9}, 9, {7}},
    {"unknown kind", 340, 99, {1}, 99, {}},
};

TEST(EventAct, OldActionsAreRepairedOnLoad)
{
    for (const RepairCase& c : kRepairs) {
        SCOPED_TRACE(c.what);
        cEventAct a;
        std::vector<std::string> strings;
        if (c.kind == Act::Message)
            strings.push_back(Utf8ToCp932("古い文"));
        ReadBody(a, c.version, ActBody(c.version, c.kind, c.ints, strings).data);
        EXPECT_EQ(a.m_nKind, c.expectedKind);
        EXPECT_EQ(a.m_Ints, c.expected);
        EXPECT_EQ(a.m_Strings.size(), static_cast<std::size_t>(ActionKind(c.expectedKind).stringCount));
    }
}

TEST(EventAct, ShopSkillsOfOldFilesAreSkipped)
{
    // Two actions one after the other; the first carries two shop skills.
    Bytes b = ActBody(54, Act::Wait, {7}, {}, {11, 12});
    Bytes second = ActBody(54, Act::MapCursor, {1, 2, 3, 4});
    b.raw(second.data.data(), second.data.size());
    FileVersion v(54);
    RecordReader in(b.data);
    cEventAct first, next;
    first.LoadBody(in);
    next.LoadBody(in);
    EXPECT_EQ(first.m_Ints, std::vector<int32_t>{7});
    EXPECT_EQ(next.m_nKind, Act::MapCursor);
    EXPECT_EQ(next.m_Ints, (std::vector<int32_t>{1, 2, 3, 4}));
    EXPECT_TRUE(in.AtEnd());

    // From 55 on there is no such list.
    cEventAct current;
    std::size_t left = 1;
    ReadBody(current, 55, ActBody(55, Act::Wait, {7}).data, &left);
    EXPECT_EQ(left, 0u);
}

TEST(EventPage, OldPagesLackTheLaterMembers)
{
    // A page of 26 holds the base turn alone after the graphic, no friend
    // condition, no enemy conditions and no chaining.
    Bytes b;
    b.i32(5).i32(8);                    // graphic, turnABase
    b.i32(1).i32(-3).i32(2);            // event variable: on, value, comparison
    b.i32(4).i32(9).i32(5).i32(1);      // common variable, value, comparison, first attempt
    b.i32(2).i32(3).i32(1).i32(0);      // scope, who, presence, group
    b.i32(16).str(Utf8ToCp932("話す"));  // timing, command name
    b.u32(0);                           // actions
    cEventPage old;
    old.m_bTurnAOn = 1;
    old.m_nTurnAStep = 4;
    old.m_nTurnBTo = 6;
    old.m_nFriendCondition = 2;
    old.m_nEnemyGroup = 7;
    old.m_bChainAfterPrevious = 1;
    std::size_t left = 1;
    ReadBody(old, 26, b.data, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(old.m_nGraphic, 5);
    EXPECT_EQ(old.m_nTurnABase, 8);
    EXPECT_EQ(old.m_nEventVarValue, -3);
    EXPECT_EQ(old.m_EventVarCompare, CompareOp::AtLeast);
    EXPECT_EQ(old.m_nCommonVarCompare, 5);
    EXPECT_EQ(old.m_nWho, 3);
    EXPECT_EQ(old.m_Timing, TriggerTiming::HolderCommand);
    EXPECT_EQ(Utf8(old.m_CommandName), "話す");
    // What the file lacks keeps its value.
    EXPECT_EQ(old.m_bTurnAOn, 1);
    EXPECT_EQ(old.m_nTurnAStep, 4);
    EXPECT_EQ(old.m_nTurnBTo, 6);
    EXPECT_EQ(old.m_nFriendCondition, 2);
    EXPECT_EQ(old.m_nEnemyGroup, 7);
    EXPECT_EQ(old.m_bChainAfterPrevious, 1);
}

TEST(Event, CurrentLayout)
{
    // An event of the current version, every integer member a different value
    // in file order, so that two swapped members show.
    Bytes b;
    b.i32(4).i32(7).i32(1).i32(-1).i32(-2).i32(-3).str(Utf8ToCp932("宝箱"));  // x .. name
    b.u32(1);                                                                // pages
    for (int32_t v = 101; v <= 124; ++v)                                     // graphic .. timing
        b.i32(v);
    b.str("ab").i32(125);                                                    // command, chain
    b.u32(1).i32(Act::Wait).u32(1).i32(25).u32(0);                           // one action
    cEvent e;
    std::size_t left = 1;
    ReadBody(e, kDataVersion, b.data, &left);
    EXPECT_EQ(left, 0u);
    EXPECT_EQ(e.m_nX, 4);
    EXPECT_EQ(e.m_nY, 7);
    EXPECT_EQ(e.m_bHeldByCharacter, 1);
    EXPECT_EQ(e.m_nReserved1, -1);
    EXPECT_EQ(e.m_nReserved3, -3);
    EXPECT_EQ(Utf8(e.m_Name), "宝箱");
    ASSERT_EQ(e.m_Pages.size(), 1u);
    const cEventPage& p = e.m_Pages[0];
    const int32_t got[] = {p.m_nGraphic, p.m_bTurnAOn, p.m_nTurnABase, p.m_nTurnAStep, p.m_bTurnBOn,
                           p.m_nTurnBFrom, p.m_nTurnBTo, p.m_bEventVarOn, p.m_nEventVarValue,
                           static_cast<int32_t>(p.m_EventVarCompare), p.m_nCommonVar, p.m_nCommonVarValue,
                           p.m_nCommonVarCompare, p.m_bFirstAttemptOnly, static_cast<int32_t>(p.m_Scope), p.m_nWho,
                           p.m_nPresence, p.m_nFriendCondition, p.m_nGroupIndex, p.m_bEnemyGroupOn,
                           p.m_nEnemyGroup, p.m_bEnemyIdOn, p.m_nEnemyId, static_cast<int32_t>(p.m_Timing),
                           p.m_bChainAfterPrevious};
    EXPECT_EQ(std::vector<int32_t>(std::begin(got), std::end(got)), Cat({Seq(101, 125)}));
    EXPECT_EQ(p.m_CommandName, "ab");
    ASSERT_EQ(p.m_Actions.size(), 1u);
    EXPECT_EQ(p.m_Actions[0].m_Ints, std::vector<int32_t>{25});

    // Written back byte for byte.
    RecordWriter out;
    e.SaveBody(out);
    EXPECT_EQ(out.Bytes(), b.data);
}

TEST(EventPage, ReferencesAreClamped)
{
    // Without a stage the new page keeps group 1.
    EXPECT_EQ(cEventPage().m_nGroupIndex, 1);

    NamedTables tables;  // 3 position groups, 4 friends
    cEventPage page;
    EXPECT_EQ(page.m_nGroupIndex, 1);
    page.m_nGroupIndex = 5;
    page.m_nFriendCondition = 4;
    cEventPage saved = RoundTrip(page);
    EXPECT_EQ(page.m_nGroupIndex, 0);
    EXPECT_EQ(saved.m_nGroupIndex, 0);
    EXPECT_EQ(saved.m_nFriendCondition, 0);
    page.m_nGroupIndex = 2;
    page.m_nFriendCondition = 3;
    saved = RoundTrip(page);
    EXPECT_EQ(saved.m_nGroupIndex, 2);
    EXPECT_EQ(saved.m_nFriendCondition, 3);

    tables.sizes[Table::PositionGroup] = 1;
    EXPECT_EQ(cEventPage().m_nGroupIndex, 0);
}

TEST(EventPage, Comparisons)
{
    struct Case {
        CompareOp op;
        const char* label;
        bool at6;   // 6 op 3
        bool at3;   // 3 op 3
        bool at2;   // 2 op 3
    } cases[] = {
        {CompareOp::Equal, "である", false, true, false},
        {CompareOp::NotEqual, "でない", true, false, true},
        {CompareOp::AtLeast, "以上", true, true, false},
        {CompareOp::AtMost, "以下", false, true, true},
        {CompareOp::Greater, "より上", true, false, false},
        {CompareOp::Less, "より下", false, false, true},
        {CompareOp::MultipleOf, "の倍数である", true, true, false},
        {CompareOp::NotMultipleOf, "の倍数でない", false, false, true},
    };
    ASSERT_EQ(ValueCount(ValueList::CompareOp), 8);
    for (const Case& c : cases) {
        int i = static_cast<int>(c.op);
        EXPECT_EQ(Utf8(ValueLabel(ValueList::CompareOp, i)), c.label);
        EXPECT_EQ(CompareValues(c.op, 6, 3), c.at6) << i;
        EXPECT_EQ(CompareValues(c.op, 3, 3), c.at3) << i;
        EXPECT_EQ(CompareValues(c.op, 2, 3), c.at2) << i;
        // Each comparison survives the page's file as it was set.
        cEventPage page;
        page.m_EventVarCompare = c.op;
        page.m_nCommonVarCompare = i;
        cEventPage back = RoundTrip(page);
        EXPECT_EQ(back.m_EventVarCompare, c.op);
        EXPECT_EQ(back.m_nCommonVarCompare, i);
    }
    // Multiples of 0 and of negative numbers; the extreme remainder is defined.
    EXPECT_TRUE(CompareValues(CompareOp::MultipleOf, 0, 0));
    EXPECT_FALSE(CompareValues(CompareOp::MultipleOf, 5, 0));
    EXPECT_TRUE(CompareValues(CompareOp::MultipleOf, -6, -3));
    EXPECT_TRUE(CompareValues(CompareOp::MultipleOf, INT32_MIN, -1));
    EXPECT_EQ(ValueLabel(ValueList::CompareOp, 8), "");
    EXPECT_EQ(ValueCount(ValueList::TriggerTiming), 23);
    EXPECT_EQ(Utf8(ValueLabel(ValueList::TriggerTiming, 22)), "ステージクリア前(H)");
}

TEST(Event, NewEventsAndCellLookup)
{
    cEvent e;
    ASSERT_EQ(e.m_Pages.size(), 1);
    EXPECT_TRUE(e.m_Pages[0].m_Actions.empty());

    RecordList<cEvent> events;
    for (int i = 0; i < 3; ++i) {
        cEvent& added = events.emplace_back();
        added.m_nX = i == 2 ? 1 : 4;
        added.m_nY = 2;
        added.m_nReserved1 = i;
    }
    ASSERT_NE(FindEventAt(events, 4, 2), nullptr);
    EXPECT_EQ(FindEventAt(events, 4, 2)->m_nReserved1, 0);
    EXPECT_EQ(FindEventAt(events, 1, 2)->m_nReserved1, 2);
    EXPECT_EQ(FindEventAt(events, 2, 4), nullptr);
}

TEST(GlobalVariables, NamesComeFromTheTable)
{
    EXPECT_EQ(GlobalVariableName(5), "");  // no project tables
    NamedTables tables;
    EXPECT_EQ(Utf8(GlobalVariableName(5)), "変数5");
    EXPECT_EQ(GlobalVariableName(0), "");
    EXPECT_EQ(GlobalVariableName(1000), "");
}

TEST(GlobalVariables, ChoicesNumberEveryVariableAfterTheNoneEntry)
{
    NamedTables tables;
    std::vector<std::string> lines = CommonVariableChoices();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kGlobalVariableCount));
    EXPECT_EQ(Utf8(lines[0]), "コモン変数条件なし");
    EXPECT_EQ(Utf8(lines[5]), "0005 変数5");
    EXPECT_EQ(Utf8(lines[999]).substr(0, 5), "0999 ");
}

TEST(GlobalVariables, RenameSavesAtOnceAndRefusesNone)
{
    TempDir dir;
    RecordList<cGValInfo> names;
    FitGlobalVariables(names);
    names[3].m_Name = "old";
    const std::string file = (dir.Path() / "GValInfo.dat").string();

    EXPECT_FALSE(RenameGlobalVariable(names, 0, "x", file));
    EXPECT_FALSE(RenameGlobalVariable(names, kGlobalVariableCount, "x", file));
    EXPECT_FALSE(std::filesystem::exists(file));

    // 13 bytes ending in half a double-byte character: cut to 12 on the boundary.
    const std::string name = SJ("あいうえおか") ;
    ASSERT_TRUE(RenameGlobalVariable(names, 3, name + "x", file));
    EXPECT_EQ(names[3].m_Name, name);
    ASSERT_TRUE(RenameGlobalVariable(names, 4, "x" + name, file));
    EXPECT_EQ(names[4].m_Name, "x" + SJ("あいうえお"));

    RecordList<cGValInfo> read;
    ASSERT_EQ(LoadListFile(read, file), 1);
    ASSERT_EQ(read.size(), static_cast<std::size_t>(kGlobalVariableCount));
    EXPECT_EQ(read[3].m_Name, name);

    // A file that cannot be written: false, the name kept in memory.
    EXPECT_FALSE(RenameGlobalVariable(names, 5, "five", (dir.Path() / "missing" / "G.dat").string()));
    EXPECT_EQ(names[5].m_Name, "five");
}

}  // namespace
