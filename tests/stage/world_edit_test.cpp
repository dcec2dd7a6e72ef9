#include <gtest/gtest.h>

#include "stage/world_edit.h"

namespace {

cWorldEvent Entrance(int x, int y, std::vector<std::pair<WorldEventType, int>> pages, const char* name = "")
{
    cWorldEvent e;
    e.m_nX = x;
    e.m_nY = y;
    e.m_Name = name;
    e.m_Pages.clear();
    for (auto [type, number] : pages) {
        cWorldEventPage& p = e.m_Pages.emplace_back();
        p.m_nEventType = type;
        p.m_nStageNumber = number;
    }
    return e;
}

// A map of w x h with `chips` world chips, every cell chip 0.
cWorldMap MapOf(int w, int h, int chips)
{
    cWorldMap m;
    m.m_Chips.clear();
    m.m_Chips.resize(chips);
    m.ResizeWorldMap(w, h);
    return m;
}

constexpr auto S = WorldEventType::Stage;
constexpr auto R = WorldEventType::Road;

}  // namespace

TEST(WorldEdit, AutomaticStageNumber)
{
    struct Case {
        const char* what;
        std::vector<cWorldEvent> events;
        int expected;
    };
    std::vector<cWorldEvent> full;
    for (int n = 1; n <= 999; ++n)
        full.push_back(Entrance(n % 200, n / 200 + 1, {{S, n}}));
    const Case cases[] = {
        {"gap", {Entrance(1, 1, {{S, 1}}), Entrance(2, 1, {{S, 2}}), Entrance(3, 1, {{S, 4}})}, 3},
        {"the cell's own number is free again", {Entrance(1, 1, {{S, 1}, {S, 2}}), Entrance(2, 1, {{S, 3}, {S, 4}}), Entrance(0, 0, {{S, 5}})}, 5},
        {"roads and walls do not count", {Entrance(1, 1, {{R, 1}}), Entrance(2, 1, {{WorldEventType::Wall, 2}})}, 1},
        {"zero and out of range do not count", {Entrance(1, 1, {{S, 0}, {S, 1000}, {S, -3}})}, 1},
        {"all taken", full, 0},
    };
    for (const Case& c : cases) {
        cWorldMap m = MapOf(200, 150, 4);
        m.m_Events.items() = c.events;
        EXPECT_EQ(AutoStageNumber(m, 0, 0), c.expected) << c.what;
    }

    // All type-0 pages of the new event get the number; a road page keeps its own.
    cWorldEvent fresh = Entrance(0, 0, {{S, 7}, {R, 9}, {S, 8}});
    NumberStagePages(fresh, 3);
    EXPECT_EQ(fresh.m_Pages[0].m_nStageNumber, 3);
    EXPECT_EQ(fresh.m_Pages[1].m_nStageNumber, 9);
    EXPECT_EQ(fresh.m_Pages[2].m_nStageNumber, 3);
}

TEST(WorldEdit, WholeMapPickUpAndStamp)
{
    cWorldMap m = MapOf(200, 150, 50);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            m.SetCell(x, y, (x * 7 + y * 3) % 50);
    WorldEditState ed;
    WorldPickPress(ed, {199, 149});
    EXPECT_EQ(ed.paletteChip, -1);
    ASSERT_TRUE(WorldPickRelease(ed, m, {0, 0}));
    EXPECT_EQ(ed.brush.width, 200);
    EXPECT_EQ(ed.brush.height, 150);
    EXPECT_EQ(ed.brush.chip[149][199], (199 * 7 + 149 * 3) % 50);

    cWorldMap copy = MapOf(200, 150, 50);
    StampWorldChips(copy, ed.brush, 0, 0);
    EXPECT_EQ(copy.m_Map, m.m_Map);

    // Stamped off the corner, only the part on the map is written.
    cWorldMap shifted = MapOf(200, 150, 50);
    StampWorldChips(shifted, ed.brush, 150, 100);
    EXPECT_EQ(shifted.Cell(150, 100), m.Cell(0, 0));
    EXPECT_EQ(shifted.Cell(199, 149), m.Cell(49, 49));
    EXPECT_EQ(shifted.Cell(149, 99), 0);
}

TEST(WorldEdit, ChipsBeyondTheChipSetAreSkipped)
{
    cWorldMap m = MapOf(16, 10, 3);
    Brush b(kWorldMaxWidth, kWorldMaxHeight, false);
    b.width = 3;
    b.height = 1;
    b.chip[0][0] = 2;
    b.chip[0][1] = 3;   // beyond the three chips
    b.chip[0][2] = -1;
    m.SetCell(2, 0, 1);
    m.SetCell(3, 0, 1);
    StampWorldChips(m, b, 1, 0);
    EXPECT_EQ(m.Cell(1, 0), 2);
    EXPECT_EQ(m.Cell(2, 0), 1);
    EXPECT_EQ(m.Cell(3, 0), 1);

    // A press whose first chip is not a chip paints nothing and keeps no step.
    WorldEditState ed;
    SelectWorldChip(ed, 5);
    EXPECT_FALSE(WorldPenPress(ed, m, {}, {0, 0}));
    EXPECT_FALSE(ed.undo.CanUndo());
    EXPECT_FALSE(ed.modified);
}

TEST(WorldEdit, PaintAndUndoRedo)
{
    cWorldMap m = MapOf(20, 15, 4);
    WorldEditState ed;
    WorldEditOptions o;
    SelectWorldChip(ed, 3);
    ASSERT_TRUE(WorldPenPress(ed, m, o, {1, 1}));
    WorldPenDrag(ed, m, o, {2, 1});
    WorldPenDrag(ed, m, o, {3, 1});
    WorldPenRelease(ed, {3, 1});
    EXPECT_EQ(m.Cell(3, 1), 3);
    EXPECT_EQ(ed.undo.UndoCount(), 1);  // one step per stroke
    EXPECT_TRUE(ed.modified);
    ASSERT_TRUE(WorldUndo(ed, m, o));
    EXPECT_EQ(m.Cell(1, 1), 0);
    EXPECT_EQ(m.Cell(3, 1), 0);
    ASSERT_TRUE(WorldRedo(ed, m, o));
    EXPECT_EQ(m.Cell(2, 1), 3);
}

// The two palette switches with and without an event on the cell, with the
// editor answering OK or cancel.
TEST(WorldEdit, PlacingFollowsTheSwitches)
{
    struct Case {
        bool editIfPlaced, editBefore, occupied, answer;
        const char* expectedName;  // of the event on (2, 2) afterwards, nullptr for none
        int opened;                // editor runs
        int undoSteps;
    };
    const Case cases[] = {
        {false, false, false, true, "palette", 0, 1},
        {false, false, true, true, "palette", 0, 1},     // replaces
        {false, true, false, true, "edited", 1, 1},
        {false, true, false, false, nullptr, 1, 0},      // cancel leaves the cell empty
        {false, true, true, false, "standing", 1, 0},    // cancel leaves the cell as it was
        {true, false, true, true, "edited", 1, 1},       // edits the standing one
        {true, false, true, false, "standing", 1, 0},
        {true, true, true, true, "edited", 1, 1},
        {true, false, false, true, "palette", 0, 1},
    };
    for (const Case& c : cases) {
        cWorldMap m = MapOf(20, 15, 4);
        m.m_Palette.clear();
        m.m_Palette.push_back(Entrance(0, 0, {{S, 0}}, "palette"));
        m.m_Events.push_back(Entrance(5, 5, {{S, 1}}, "other"));
        if (c.occupied)
            m.m_Events.push_back(Entrance(2, 2, {{S, 2}}, "standing"));
        const int before = m.m_Events.size();
        WorldEditState ed;
        ed.mode = WorldMode::Events;
        ed.paletteEvent = 0;
        WorldEditOptions o{c.editIfPlaced, c.editBefore, false, 3};
        int opened = 0;
        auto edit = [&](cWorldEvent& e) {
            ++opened;
            e.m_Name = "edited";
            return c.answer;
        };
        WorldPenPress(ed, m, o, {2, 2}, WorldHooks{edit, edit});
        std::string where = std::to_string(c.editIfPlaced) + std::to_string(c.editBefore) +
                            std::to_string(c.occupied) + std::to_string(c.answer);
        int at = WorldEventAt(m, 2, 2);
        if (c.expectedName) {
            ASSERT_GE(at, 0) << where;
            EXPECT_EQ(m.m_Events[at].m_Name, c.expectedName) << where;
        } else {
            EXPECT_LT(at, 0) << where;
        }
        EXPECT_EQ(opened, c.opened) << where;
        EXPECT_EQ(ed.undo.UndoCount(), c.undoSteps) << where;
        EXPECT_LE(m.m_Events.size(), before + 1) << where;
        if (c.occupied) {
            EXPECT_EQ(m.m_Events.size(), before) << where;  // replacing never grows the list
        }
    }
}

TEST(WorldEdit, EventStrokePlacesOncePerCellWithOneStep)
{
    cWorldMap m = MapOf(20, 15, 4);
    m.m_Palette.clear();
    m.m_Palette.push_back(Entrance(0, 0, {{S, 0}, {R, 0}}, "p"));
    WorldEditState ed;
    ed.mode = WorldMode::Events;
    ed.paletteEvent = 0;
    WorldEditOptions o{false, false, true, 3};
    WorldPenPress(ed, m, o, {1, 1});
    WorldPenDrag(ed, m, o, {2, 1});
    WorldPenDrag(ed, m, o, {2, 1});
    WorldPenDrag(ed, m, o, {3, 1});
    WorldPenRelease(ed, {3, 1});
    ASSERT_EQ(m.m_Events.size(), 3);
    EXPECT_EQ(ed.undo.UndoCount(), 1);
    // Each new entrance took the next free number; the road page kept its 0.
    EXPECT_EQ(m.m_Events[0].m_Pages[0].m_nStageNumber, 1);
    EXPECT_EQ(m.m_Events[2].m_Pages[0].m_nStageNumber, 3);
    EXPECT_EQ(m.m_Events[2].m_Pages[1].m_nStageNumber, 0);

    // A stroke that reaches a placed event with "配置済みなら編集" opens the editor and ends.
    o.editIfPlaced = true;
    int opened = 0;
    WorldHooks hooks{nullptr, [&](cWorldEvent&) { ++opened; return false; }};
    WorldPenPress(ed, m, o, {5, 5}, hooks);
    WorldPenDrag(ed, m, o, {1, 1}, hooks);
    WorldPenDrag(ed, m, o, {6, 5}, hooks);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(WorldEventAt(m, 6, 5), -1);
}

TEST(WorldEdit, CellCommandsAndClearWithUndo)
{
    cWorldMap m = MapOf(20, 15, 4);
    m.m_Events.push_back(Entrance(1, 1, {{S, 1}}, "a"));
    m.m_Events.push_back(Entrance(4, 4, {{S, 2}}, "b"));
    WorldEditState ed;
    WorldEditOptions o{false, false, true, 10};

    EXPECT_EQ(WorldCellMenuFor(ed, m, {1, 1}).onEvent, true);
    EXPECT_EQ(WorldCellMenuFor(ed, m, {1, 1}).canPaste, false);
    EXPECT_EQ(WorldCellMenuFor(ed, m, {2, 2}).onEvent, false);

    CopyWorldEventAt(ed, m, {1, 1});
    EXPECT_EQ(ed.undo.UndoCount(), 0);
    ASSERT_TRUE(PasteWorldEventAt(ed, m, o, {2, 2}));
    EXPECT_EQ(m.m_Events[WorldEventAt(m, 2, 2)].m_Pages[0].m_nStageNumber, 3);  // numbered anew
    ASSERT_TRUE(CutWorldEventAt(ed, m, o, {4, 4}));
    EXPECT_EQ(WorldEventAt(m, 4, 4), -1);
    EXPECT_EQ(ed.clipboard.front().m_Name, "b");
    ASSERT_TRUE(DeleteWorldEventAt(ed, m, o, {1, 1}));
    EXPECT_FALSE(DeleteWorldEventAt(ed, m, o, {1, 1}));
    EXPECT_EQ(m.m_Events.size(), 1);

    // "新規作成" marks the map changed even when the editor is cancelled.
    ed.modified = false;
    EXPECT_FALSE(NewWorldEventAt(ed, m, o, {7, 7}, WorldHooks{[](cWorldEvent&) { return false; }, nullptr}));
    EXPECT_TRUE(ed.modified);
    int number = -1;
    ASSERT_TRUE(NewWorldEventAt(ed, m, o, {7, 7}, WorldHooks{[&](cWorldEvent& e) {
        number = e.m_Pages[0].m_nStageNumber;  // numbered before the editor opens
        return true;
    }, nullptr}));
    EXPECT_EQ(number, 1);

    m.SetCell(3, 3, 2);
    ClearWorldChips(ed, m, o);
    ClearWorldEvents(ed, m, o);
    EXPECT_EQ(m.Cell(3, 3), 0);
    EXPECT_EQ(m.m_Events.size(), 0);
    ASSERT_TRUE(WorldUndo(ed, m, o));
    EXPECT_EQ(m.m_Events.size(), 2);
    ASSERT_TRUE(WorldUndo(ed, m, o));
    EXPECT_EQ(m.Cell(3, 3), 2);
    for (int i = 0; i < 4; ++i)
        WorldUndo(ed, m, o);
    EXPECT_EQ(m.m_Events.size(), 2);  // back to the start: a and b
    EXPECT_GE(WorldEventAt(m, 4, 4), 0);
}

TEST(WorldEdit, SettingsResizeValidateAndForgetHistory)
{
    cWorldMap m = MapOf(20, 15, 4);
    for (int y = 0; y < 15; ++y)
        for (int x = 0; x < 20; ++x)
            m.SetCell(x, y, (x + y) % 4);
    m.m_Events.push_back(Entrance(15, 9, {{S, 1}}, "in"));
    m.m_Events.push_back(Entrance(16, 2, {{S, 2}}, "right"));
    m.m_Events.push_back(Entrance(3, 10, {{S, 3}}, "below"));
    WorldEditState ed;
    WorldPushUndo(ed, m, {});
    WorldMapSettings s = SettingsOf(m);
    s.width = 16;
    s.height = 10;
    s.startX = 19;
    s.backImage = "image\\x.png";
    ApplyWorldMapSettings(ed, m, s);
    EXPECT_EQ(m.m_nPitch, 16);
    EXPECT_EQ(m.m_Map.size(), 16u * 10u);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(m.Cell(x, y), (x + y) % 4) << x << "," << y;
    ASSERT_EQ(m.m_Events.size(), 1);
    EXPECT_EQ(m.m_Events[0].m_Name, "in");
    EXPECT_EQ(m.m_nStartX, 15);
    EXPECT_EQ(m.m_BackImage, "image\\x.png");
    EXPECT_TRUE(ed.modified);
    EXPECT_FALSE(ed.undo.CanUndo());
    EXPECT_FALSE(ed.undo.CanRedo());

    // Sizes are pulled into the largest world map.
    s.width = 250;
    s.height = 0;
    ApplyWorldMapSettings(ed, m, s);
    EXPECT_EQ(m.m_nWidth, 200);
    EXPECT_EQ(m.m_nHeight, 1);
}

TEST(WorldEdit, EventEditorEnabling)
{
    struct Case {
        WorldEventType type;
        int variation, commonVar;
        bool commonValue, stagePart, variationPart;
    };
    const Case cases[] = {
        {S, 0, 0, false, true, false},
        {S, 1, 0, false, true, true},
        {S, 1, 7, true, true, true},
        {R, 1, 7, true, false, false},
        {WorldEventType::Wall, 1, 0, false, false, false},
    };
    for (const Case& c : cases) {
        cWorldEventPage p;
        p.m_nEventType = c.type;
        p.m_bVariation = c.variation;
        p.m_nCommonVar = c.commonVar;
        WorldPageEnabling e = WorldPageEnablingOf(p);
        EXPECT_EQ(e.commonValue, c.commonValue) << static_cast<int>(c.type) << c.variation << c.commonVar;
        EXPECT_EQ(e.stagePart, c.stagePart) << static_cast<int>(c.type) << c.variation << c.commonVar;
        EXPECT_EQ(e.variation, c.variationPart) << static_cast<int>(c.type) << c.variation << c.commonVar;
    }
}

TEST(WorldEdit, UndoRefusedWhenMemoryIsShort)
{
    cWorldMap m = MapOf(200, 150, 4);
    unsigned long long free = ~0ull;
    WorldUndoHistory h([&] { return free; });
    ASSERT_TRUE(h.PushUndo(m));
    free = WorldUndoHistory::SnapshotSize(m);
    EXPECT_FALSE(h.PushUndo(m));
    EXPECT_FALSE(h.CanUndo());
}
