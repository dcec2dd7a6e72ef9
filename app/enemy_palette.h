// The enemy palette's list without its window: the working copy of the stage's
// placements, the edits of its commands with their undo steps, and the mode-1
// brush that follows its selection.
#pragma once

#include <functional>

#include "app/editor_state.h"
#include "records/list_model.h"
#include "stage/enemy_placement.h"

class Project;

enum class EnemyPaletteOp { None, Insert, Edit, Delete, Cut, Copy, Paste, Count };

// The palette's command ids (buttons, accelerators, popup menu); None for the
// ids the palette leaves to the main window.
EnemyPaletteOp EnemyPaletteOpOf(int command);

// The list's options: an append line, 0 to 999 placements, the line texts of
// the project's enemies.
void SetUpEnemyList(ListModel<cPutEnemy>& list, const Project& p);

// Opens the placement dialog on a placement; true for OK.
using PlacementEditor = std::function<bool(cPutEnemy& placement)>;

enum class PaletteEdit { Changed, Unchanged, Refused };

// Runs one palette edit on the list (a copy of the stage's placements that
// matches the stage): the list changes, then an undo step is taken of the
// stage as it still is, then the list is written into the stage and the stage
// is modified. Insert and a larger count add placements off the map; pasted
// placements are off the map; an inserted placement goes again when the
// dialog is cancelled. Refused: the list could not do it (the caller beeps).
PaletteEdit RunEnemyPaletteOp(EditorState& ed, Project& p, ListModel<cPutEnemy>& list, EnemyPaletteOp op,
                              const PlacementEditor& edit = {}, int count = 0);

// Edits placement index of the stage through the dialog: on OK an undo step,
// then the placement is written. False when cancelled or out of range.
bool EditPlacement(EditorState& ed, Project& p, int index, const PlacementEditor& edit);

// The mode-1 brush from the list's selection: the selected placement as a
// 1 x 1 brush, or no enemy.
void EnemyBrushFromSelection(EditorState& ed, const ListModel<cPutEnemy>& list);
