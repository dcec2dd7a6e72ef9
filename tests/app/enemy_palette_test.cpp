// The enemy palette's edits on the stage: undo steps, placements off the map,
// the dialog's cancel and the brush that follows the selection.
#include "app/enemy_palette.h"

#include <gtest/gtest.h>

#include <memory>

#include "project/project.h"
#include "tests/test_util.h"

namespace {

bool Same(const RecordList<cPutEnemy>& a, const RecordList<cPutEnemy>& b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i)
        if (a[i].m_nEnemy != b[i].m_nEnemy || a[i].m_nX != b[i].m_nX || a[i].m_nY != b[i].m_nY)
            return false;
    return true;
}

struct EnemyPaletteFixture : ::testing::Test {
    EnemyPaletteFixture()
    {
        p->m_Enemies.resize(3);
        p->m_EditConfig.m_nUndoDepth = 20;
        ed->stageOpen = true;
        ed->mode = PaletteMode::Enemies;
        cStage& s = p->m_Stage;
        s.m_PutEnemy.resize(3);
        for (int i = 0; i < 3; ++i) {
            s.m_PutEnemy[i].m_nEnemy = 1 + i % 2;
            s.m_PutEnemy[i].m_nX = i;
            s.m_PutEnemy[i].m_nY = 0;
        }
        SetUpEnemyList(list, *p);
        list.Load(s.m_PutEnemy.items());
        ListModel<cPutEnemy>::SharedClipboard().clear();
    }
    RecordList<cPutEnemy>& Placed() { return p->m_Stage.m_PutEnemy; }
    PaletteEdit Run(EnemyPaletteOp op, int count = 0, bool ok = true)
    {
        return RunEnemyPaletteOp(*ed, *p, list, op, [ok](cPutEnemy& e) { e.m_nEnemy = 2; return ok; }, count);
    }

    std::unique_ptr<Project> p = std::make_unique<Project>();
    std::unique_ptr<EditorState> ed = std::make_unique<EditorState>();
    ListModel<cPutEnemy> list;
};

TEST_F(EnemyPaletteFixture, EachEditIsOneUndoStep)
{
    struct Case { EnemyPaletteOp op; int count; int sizeAfter; };
    const Case cases[] = {
        {EnemyPaletteOp::Insert, 0, 4},
        {EnemyPaletteOp::Delete, 0, 2},
        {EnemyPaletteOp::Cut, 0, 2},
        {EnemyPaletteOp::Count, 6, 6},
        {EnemyPaletteOp::Count, 1, 1},
        {EnemyPaletteOp::Edit, 0, 3},
    };
    for (const Case& c : cases) {
        RecordList<cPutEnemy> before = Placed();
        list.Load(Placed().items());
        list.Select(1, false);
        int steps = ed->undo.UndoCount();
        EXPECT_EQ(Run(c.op, c.count), PaletteEdit::Changed) << static_cast<int>(c.op);
        EXPECT_EQ(Placed().size(), c.sizeAfter);
        EXPECT_EQ(ed->undo.UndoCount(), steps + 1);
        EXPECT_TRUE(ed->stageModified);
        ASSERT_TRUE(UndoStep(*ed, *p));
        EXPECT_TRUE(Same(Placed(), before)) << static_cast<int>(c.op);
    }
}

TEST_F(EnemyPaletteFixture, NewPlacementsStayOffTheMap)
{
    list.Select(0, false);
    ASSERT_EQ(Run(EnemyPaletteOp::Insert), PaletteEdit::Changed);
    EXPECT_EQ(Placed()[0].m_nX, -1);
    EXPECT_EQ(Placed()[0].m_nEnemy, 2);
    EXPECT_EQ(Placed()[1].m_nX, 0);  // the old first one moved down

    ASSERT_EQ(Run(EnemyPaletteOp::Count, 6), PaletteEdit::Changed);
    for (int i = 4; i < 6; ++i)
        EXPECT_EQ(Placed()[i].m_nY, -1) << i;

    // Copied from the map, pasted off it; the originals stay where they are.
    list.Select(1, false);
    EXPECT_EQ(Run(EnemyPaletteOp::Copy), PaletteEdit::Unchanged);
    list.Select(5, false);
    ASSERT_EQ(Run(EnemyPaletteOp::Paste), PaletteEdit::Changed);
    ASSERT_EQ(Placed().size(), 7);
    EXPECT_EQ(Placed()[5].m_nX, -1);
    EXPECT_EQ(Placed()[5].m_nEnemy, 1);
    EXPECT_EQ(Placed()[1].m_nX, 0);
}

TEST_F(EnemyPaletteFixture, CancelAndRefusalsLeaveTheStage)
{
    list.Select(1, false);
    int steps = ed->undo.UndoCount();
    EXPECT_EQ(Run(EnemyPaletteOp::Insert, 0, false), PaletteEdit::Unchanged);
    EXPECT_EQ(Run(EnemyPaletteOp::Edit, 0, false), PaletteEdit::Unchanged);
    EXPECT_EQ(list.RecordCount(), 3);
    EXPECT_EQ(Placed().size(), 3);
    EXPECT_EQ(Placed()[1].m_nEnemy, 2);

    // Nothing on the clipboard, counts outside 1 to 999, delete on the append line.
    EXPECT_EQ(Run(EnemyPaletteOp::Paste), PaletteEdit::Refused);
    EXPECT_EQ(Run(EnemyPaletteOp::Count, 0), PaletteEdit::Refused);
    EXPECT_EQ(Run(EnemyPaletteOp::Count, 1000), PaletteEdit::Refused);
    list.Select(3, false);
    EXPECT_EQ(Run(EnemyPaletteOp::Delete), PaletteEdit::Refused);
    EXPECT_EQ(ed->undo.UndoCount(), steps);
    EXPECT_FALSE(ed->stageModified);
}

TEST_F(EnemyPaletteFixture, BrushFollowsTheSelection)
{
    const Brush& b = ed->tools[1].brush;
    list.Select(2, false);
    EnemyBrushFromSelection(*ed, list);
    EXPECT_EQ(b.enemy[0][0], 2);
    EXPECT_EQ(b.width, 1);
    list.Select(3, false);  // the append line
    EnemyBrushFromSelection(*ed, list);
    EXPECT_EQ(b.enemy[0][0], -1);

    // The commands of the palette, and the main window's own keys left alone.
    EXPECT_EQ(EnemyPaletteOpOf(40034), EnemyPaletteOp::Delete);
    EXPECT_EQ(EnemyPaletteOpOf(40069), EnemyPaletteOp::Insert);
    EXPECT_EQ(EnemyPaletteOpOf(11071), EnemyPaletteOp::Count);
    EXPECT_EQ(EnemyPaletteOpOf(40063), EnemyPaletteOp::None);
}

}  // namespace
