// The world map editor's state in this process and its commands that touch
// files or the project: save, revert, the close question, the background
// picture and the options taken from the editor settings.
#pragma once

#include <string>

#include "stage/world_edit.h"

class Project;

// The world map editor of this process.
WorldEditState& WorldEditor();

// The palette switches and the undo depth from the editor settings.
WorldEditOptions WorldOptions(const Project& p);

// Writes "data\database\WorldMap.dat"; a failed write says so with the path and
// keeps the modified flag. True when saved.
bool SaveWorldMap(WorldEditState& ed, Project& p);
// Reads the world map file into a fresh record and puts it in place of the
// one in memory, discarding the changes; a file that does not read is reported
// and memory is kept. True when reloaded.
bool RevertWorldMap(WorldEditState& ed, Project& p);

// What closing the world map window decided.
enum class WorldClose { Stay, Saved, Reverted, Unchanged };
// Asks "ワールドマップが変更された可能性があります。\n保存しますか？" when the map
// was modified: Cancel (or a failed save) stays, Yes saves, No reverts.
WorldClose ConfirmCloseWorldMap(WorldEditState& ed, Project& p);

// Reloads the world background picture from the name the map stores (none
// when empty; a picture that does not load is passed over).
void ReloadWorldBack(const Project& p);
