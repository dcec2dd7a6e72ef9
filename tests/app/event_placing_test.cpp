// Painting events from the palette onto the stage under the two settings of
// the palette window, with the event editor stood in for by hooks.
#include <gtest/gtest.h>

#include <memory>

#include "app/editor_state.h"
#include "project/project.h"
#include "tests/test_util.h"

namespace {

struct EventPlacing : ::testing::Test {
    EventPlacing()
    {
        p->m_EditConfig.m_nUndoDepth = 5;
        p->m_EventPalette.resize(2);
        p->m_EventPalette[0].m_Name = "template";
        p->m_EventPalette[1].m_Name = "other";
        ed->stageOpen = true;
        ed->mode = PaletteMode::Events;
        SelectPaletteEvent(*ed, *p, 0);
        hooks.editNewEvent = [this](cEvent& e) {
            ++newEdits;
            e.m_Name = "edited new";
            return answer;
        };
        hooks.editPlacedEvent = [this](cEvent& e) {
            ++placedEdits;
            e.m_Name = "edited placed";
            return answer;
        };
    }
    void Settings(bool ifPlaced, bool beforePut)
    {
        p->m_EditConfig.m_bEventEditIfPlaced = ifPlaced;
        p->m_EditConfig.m_bEventEditBeforePut = beforePut;
    }
    const std::string& NameAt(int x, int y) { return p->m_Stage.m_Events[EventAt(p->m_Stage, x, y)].m_Name; }

    RecordingSink sink;
    std::unique_ptr<Project> p = std::make_unique<Project>();
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
    MapHooks hooks;
    bool answer = true;
    int newEdits = 0, placedEdits = 0;
};

}  // namespace

TEST_F(EventPlacing, SelectionSetsTheBrush)
{
    const Brush& b = ed->tools[2].brush;
    EXPECT_EQ(ed->paletteEvent, 0);
    EXPECT_EQ(b.width * b.height, 1);
    SelectPaletteEvent(*ed, *p, 2);  // beyond the palette: none
    EXPECT_EQ(ed->paletteEvent, -1);
    EXPECT_EQ(b.width, 0);
    EXPECT_EQ(b.height, 0);
    EXPECT_FALSE(PenPress(*ed, *p, {1, 1}, hooks));
    EXPECT_TRUE(p->m_Stage.m_Events.empty());
}

TEST_F(EventPlacing, TheFourSettingCombinations)
{
    struct Row { bool ifPlaced, beforePut; const char* onEmpty; const char* onEvent; int newEdits, placedEdits; };
    const Row rows[] = {
        {false, false, "template", "template", 0, 0},
        {false, true, "edited new", "edited new", 2, 0},
        {true, false, "template", "edited placed", 0, 1},
        {true, true, "edited new", "edited placed", 1, 1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.ifPlaced << r.beforePut);
        p->m_Stage.m_Events.clear();
        cEvent standing;
        standing.m_Name = "standing";
        standing.m_nX = 4;
        standing.m_nY = 4;
        p->m_Stage.m_Events.push_back(standing);
        newEdits = placedEdits = 0;
        Settings(r.ifPlaced, r.beforePut);
        EXPECT_TRUE(PenPress(*ed, *p, {2, 2}, hooks));
        PenRelease(*ed, *p, {2, 2});
        EXPECT_TRUE(PenPress(*ed, *p, {4, 4}, hooks));
        PenRelease(*ed, *p, {4, 4});
        EXPECT_EQ(NameAt(2, 2), r.onEmpty);
        EXPECT_EQ(NameAt(4, 4), r.onEvent);
        // A cell holds one event: painting over one replaces it.
        EXPECT_EQ(p->m_Stage.m_Events.size(), 2);
        EXPECT_EQ(newEdits, r.newEdits);
        EXPECT_EQ(placedEdits, r.placedEdits);
    }
}

TEST_F(EventPlacing, DragPlacesOnEveryCellWithOneUndoStep)
{
    Settings(false, false);
    PenPress(*ed, *p, {1, 1}, hooks);
    PenDrag(*ed, *p, {1, 1}, hooks);
    PenDrag(*ed, *p, {2, 1}, hooks);
    PenDrag(*ed, *p, {3, 1}, hooks);
    PenRelease(*ed, *p, {3, 1});
    EXPECT_EQ(p->m_Stage.m_Events.size(), 3);
    EXPECT_EQ(ed->undo.UndoCount(), 1);
    EXPECT_TRUE(UndoStep(*ed, *p));
    EXPECT_TRUE(p->m_Stage.m_Events.empty());

    // A stroke that opens the editor ends there.
    Settings(false, true);
    PenPress(*ed, *p, {1, 1}, hooks);
    EXPECT_FALSE(ed->penDown);
    EXPECT_FALSE(PenDrag(*ed, *p, {2, 1}, hooks));
    EXPECT_EQ(newEdits, 1);
}

TEST_F(EventPlacing, CancelledEditLeavesCellAndHistory)
{
    cEvent standing;
    standing.m_Name = "standing";
    standing.m_nX = 3;
    p->m_Stage.m_Events.push_back(standing);
    answer = false;
    for (bool ifPlaced : {false, true}) {
        Settings(ifPlaced, true);
        EXPECT_FALSE(PenPress(*ed, *p, {3, 0}, hooks));
        EXPECT_FALSE(PenPress(*ed, *p, {5, 0}, hooks));
        EXPECT_EQ(NameAt(3, 0), "standing");
        EXPECT_EQ(EventAt(p->m_Stage, 5, 0), -1);
        EXPECT_EQ(ed->undo.UndoCount(), 0);
        EXPECT_FALSE(ed->stageModified);
    }
}

TEST_F(EventPlacing, UndoAfterAnEditRestoresTheOldEvent)
{
    cEvent standing;
    standing.m_Name = "standing";
    p->m_Stage.m_Events.push_back(standing);
    Settings(true, false);
    EXPECT_TRUE(PenPress(*ed, *p, {0, 0}, hooks));
    EXPECT_EQ(NameAt(0, 0), "edited placed");
    EXPECT_TRUE(ed->stageModified);
    EXPECT_TRUE(UndoStep(*ed, *p));
    EXPECT_EQ(NameAt(0, 0), "standing");
}
