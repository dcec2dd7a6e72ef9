#include "app/enemy_palette.h"

#include "project/project.h"

namespace {

void TakeOffMap(cPutEnemy& e)
{
    e.m_nX = -1;
    e.m_nY = -1;
}

// The list is written into the stage after the undo step of the stage as it was.
void WriteBack(EditorState& ed, Project& p, const ListModel<cPutEnemy>& list)
{
    PushUndo(ed, p);
    p.m_Stage.m_PutEnemy.items() = list.items;
    ed.stageModified = true;
}

}  // namespace

EnemyPaletteOp EnemyPaletteOpOf(int command)
{
    switch (command) {
    case 1066: case 40069: case 40070: return EnemyPaletteOp::Insert;
    case 1226: return EnemyPaletteOp::Edit;
    case 1067: case 40029: case 40034: return EnemyPaletteOp::Delete;
    case 40027: case 40030: return EnemyPaletteOp::Cut;
    case 40024: case 40031: return EnemyPaletteOp::Copy;
    case 40025: case 40032: return EnemyPaletteOp::Paste;
    case 11071: return EnemyPaletteOp::Count;
    default: return EnemyPaletteOp::None;
    }
}

void SetUpEnemyList(ListModel<cPutEnemy>& list, const Project& p)
{
    list.appendLine = true;
    list.minCount = 0;
    list.maxCount = kMaxPlacements;
    const RecordList<cEnemy>* enemies = &p.m_Enemies;
    list.lineText = [enemies](int, const cPutEnemy& e) { return PutEnemyLine(e, *enemies); };
}

PaletteEdit RunEnemyPaletteOp(EditorState& ed, Project& p, ListModel<cPutEnemy>& list, EnemyPaletteOp op,
                              const PlacementEditor& edit, int count)
{
    switch (op) {
    case EnemyPaletteOp::None: return PaletteEdit::Unchanged;
    case EnemyPaletteOp::Edit: {
        int line = list.GetSel();
        if (!list.IsRecordLine(line))
            return PaletteEdit::Unchanged;
        if (!EditPlacement(ed, p, line, edit))
            return PaletteEdit::Unchanged;
        list.Load(p.m_Stage.m_PutEnemy.items());
        return PaletteEdit::Changed;
    }
    case EnemyPaletteOp::Copy: return list.CopySel() ? PaletteEdit::Unchanged : PaletteEdit::Refused;
    case EnemyPaletteOp::Insert: {
        if (list.GetSel() < 0 || !list.Insert())
            return PaletteEdit::Refused;
        int line = list.GetSel();
        TakeOffMap(list.Record(line));
        if (edit && !edit(list.Record(line))) {
            list.Load(p.m_Stage.m_PutEnemy.items());
            return PaletteEdit::Unchanged;
        }
        break;
    }
    case EnemyPaletteOp::Delete:
        if (!list.DeleteSel())
            return PaletteEdit::Refused;
        break;
    case EnemyPaletteOp::Cut:
        if (!list.CutSel())
            return PaletteEdit::Refused;
        break;
    case EnemyPaletteOp::Paste:
        // Placements never arrive on the map: their cells belong to others.
        for (cPutEnemy& e : list.Clipboard())
            TakeOffMap(e);
        if (!list.Paste())
            return PaletteEdit::Refused;
        break;
    case EnemyPaletteOp::Count: {
        int before = list.RecordCount();
        if (count < 1 || !list.Resize(count))
            return PaletteEdit::Refused;
        for (int i = before; i < list.RecordCount(); ++i)
            TakeOffMap(list.Record(i));
        break;
    }
    }
    WriteBack(ed, p, list);
    return PaletteEdit::Changed;
}

bool EditPlacement(EditorState& ed, Project& p, int index, const PlacementEditor& edit)
{
    if (index < 0 || index >= p.m_Stage.m_PutEnemy.size() || !edit)
        return false;
    cPutEnemy copy = p.m_Stage.m_PutEnemy[index];
    if (!edit(copy))
        return false;
    PushUndo(ed, p);
    p.m_Stage.m_PutEnemy[index] = copy;
    ed.stageModified = true;
    return true;
}

void EnemyBrushFromSelection(EditorState& ed, const ListModel<cPutEnemy>& list)
{
    Brush& b = ed.tools[static_cast<int>(PaletteMode::Enemies)].brush;
    b.width = b.height = 1;
    int line = list.GetSel();
    b.enemy[0][0] = list.IsRecordLine(line) ? line : -1;
}
