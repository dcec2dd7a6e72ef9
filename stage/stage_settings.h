// The editing rules behind the stage dialogs: "ステージの設定" with its three
// lists of end conditions, "位置グループの設定" and the group editor. No
// windows here: line texts, the choices of the combos, the group and cell
// operations, what a smaller map would lose, and the OK sequence.
#pragma once

#include <string>
#include <vector>

#include "records/tables.h"
#include "stage/stage.h"

// Records a list may hold: position groups of a stage, end conditions of one list.
inline constexpr int kMaxPositionGroups = 99;
inline constexpr int kMaxEndConds = 99;

// "%-8s 中心座標(%d,%d)": the name padded to 8 bytes, then the centre (CP932).
std::string GroupPosLine(const cGroupPos& group);
// A condition's line: its text, on one line.
std::string EndCondLine(const cEndCond& cond);

// A click of the group editor: removes the cell from the positions when it is
// there, else appends it. True when the cell was added.
bool ToggleGroupCell(cGroupPos& group, CellPos cell);
// "新規": a default group at the end; false (nothing added) when the list is full.
bool AppendGroup(std::vector<cGroupPos>& groups);
// "ｸﾘｱ": the groups at these indices become default groups; nothing is removed.
void ClearGroups(std::vector<cGroupPos>& groups, const std::vector<int>& indices);

// The entries of the combos, entry i standing for value i, each "number name".
// Every group from 0; with noneFirst entry 0 reads "なし" instead of group 0.
std::vector<std::string> GroupChoices(const RecordList<cGroupPos>& groups, bool noneFirst = false);
// Every record of a table (backgrounds, music, party values) by its name.
std::vector<std::string> TableChoices(Table table);

// The condition dialog edits only the value its target uses; the others keep
// what the condition held before (a character id of 0 under target 0 stays 0).
void KeepUnusedTargetValues(cEndCond& stored, const cEndCond& before);

// What resizing the stage to width x height takes away.
struct MapLoss {
    bool shrinks = false;   // columns or rows go
    int events = 0;         // events outside the new map (removed)
    int enemies = 0;        // placed enemies outside it (taken off the map)
    int groupCells = 0;     // cells of position groups outside it (dropped)
};
MapLoss LossOfResize(const cStage& stage, int width, int height);
// The question shown before a shrinking OK (CP932); empty when the map does
// not shrink.
std::string ShrinkQuestion(const MapLoss& loss, int width, int height);

// The OK of the stage settings: the edited copy (whose own size is still the
// stage's) becomes the stage, the map takes the edited size, and the stage is
// validated (events outside removed, placements taken off the map, group
// cells dropped, references pulled in).
void StoreStageSettings(cStage& stage, const cStage& edited, int width, int height);
