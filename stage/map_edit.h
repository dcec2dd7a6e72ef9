// Painting a stage: the brush, the four pen tools, the pick-up into the brush
// and the undo history. Windows turn mouse input into these calls; nothing here
// knows about windows.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "events/event.h"
#include "records/serial.h"
#include "stage/stage_elements.h"

// The stage's layers that painting changes and the undo history keeps. The
// stage record hands out one of these over its own members.
struct MapLayers {
    int width = 0;
    int height = 0;
    int pitchBits = 0;
    std::vector<int32_t>* chips = nullptr;      // cell (x, y) is element (y << pitchBits) + x
    RecordList<cPutEnemy>* enemies = nullptr;
    RecordList<cEvent>* events = nullptr;

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    int32_t& Chip(int x, int y) { return (*chips)[(static_cast<std::size_t>(y) << pitchBits) + static_cast<std::size_t>(x)]; }
    int32_t Chip(int x, int y) const
    {
        return (*chips)[(static_cast<std::size_t>(y) << pitchBits) + static_cast<std::size_t>(x)];
    }
    // Index of the placed enemy standing on a cell, -1 when none.
    int EnemyAt(int x, int y) const;
};

enum class PaletteMode : int32_t { Chips = 0, Enemies = 1, Events = 2 };
enum class PenTool : int32_t { Normal = 0, Line = 1, Rectangle = 2, Fill = 3 };

inline constexpr int kBrushMax = 64;

// What the left button paints: chip numbers (map chips) or placed-enemy indexes
// (enemies, -1 = none), width x height cells of the two tables.
struct Brush {
    Brush();
    int width = 1;
    int height = 1;
    std::array<std::array<int32_t, kBrushMax>, kBrushMax> chip;   // [row][column]
    std::array<std::array<int32_t, kBrushMax>, kBrushMax> enemy;  // [row][column]
};

// A chip number names one of the chip definitions (lands).
inline bool ValidChip(int32_t chip, int chipCount) { return chip >= 0 && chip < chipCount; }

// Normal tool, map chips: stamps the brush with its top-left cell at (x, y),
// clipped to the map; only valid chips are written.
void StampChips(MapLayers& map, const Brush& brush, int x, int y, int chipCount);
// Normal tool, enemies: for each brush cell, any placed enemy on the target cell
// is taken off the map, then the enemy the brush cell names moves there.
void StampEnemies(MapLayers& map, const Brush& brush, int x, int y);
// Line tool: from the centre of the start cell towards the end cell in steps of
// 0.1 cell, at most 200 cells, cycling through the brush's first row.
void DrawLine(MapLayers& map, const Brush& brush, int x0, int y0, int x1, int y1, int chipCount);
// The cells the line tool paints, in order (also its preview).
std::vector<CellPos> LineCells(int x0, int y0, int x1, int y1);
// Rectangle tool: the rectangle between the two cells, row by row, with brush
// columns carried over from row to row.
void FillRectangle(MapLayers& map, const Brush& brush, int x0, int y0, int x1, int y1, int chipCount);
// Fill tool: the 4-connected region of the clicked cell's chip, visited left,
// right, up, down, the brush tiled from the clicked cell, at most 5000 deep.
// False when the work table could not be had (nothing is filled).
bool FloodFill(MapLayers& map, const Brush& brush, int x, int y, int chipCount);
inline constexpr int kFillDepthLimit = 5000;

// Right-button pick-up: the rectangle between the two cells becomes the brush.
void PickUp(const MapLayers& map, Brush& brush, PaletteMode mode, int x0, int y0, int x1, int y1);

// Places a copy of an event on a cell, removing the events already there, and
// returns it.
cEvent& PlaceEvent(MapLayers& map, const cEvent& event, int x, int y);

// One undo step: the chip layer, the placed enemies and the events.
struct MapSnapshot {
    std::vector<int32_t> chips;
    RecordList<cPutEnemy> enemies;
    RecordList<cEvent> events;
};

// The undo and redo histories. Each step is a full snapshot; before taking one
// its size is estimated and compared with the free memory, and when memory is
// short both histories are emptied and the step is refused.
class UndoHistory {
public:
    using FreeMemoryFn = std::function<unsigned long long()>;

    explicit UndoHistory(FreeMemoryFn freeMemory = nullptr);

    void SetDepthLimit(int steps) { depth_ = steps < 1 ? 1 : steps; }
    int DepthLimit() const { return depth_; }

    // Takes a snapshot before an edit and empties the redo history; false when
    // it was refused for lack of memory.
    bool PushUndo(const MapLayers& map);
    // Restores the last step, keeping the current state for redo; false when
    // there was nothing to undo (or no memory to keep the current state).
    bool Undo(MapLayers& map);
    bool Redo(MapLayers& map);
    void Clear();

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }

    // The estimate a snapshot of map is checked against.
    static unsigned long long SnapshotSize(const MapLayers& map);

private:
    bool Push(std::vector<MapSnapshot>& history, const MapLayers& map);
    bool Step(std::vector<MapSnapshot>& from, std::vector<MapSnapshot>& to, MapLayers& map);

    FreeMemoryFn freeMemory_;
    int depth_ = 3;
    std::vector<MapSnapshot> undo_;
    std::vector<MapSnapshot> redo_;
};

// Free physical memory of this machine in bytes.
unsigned long long FreePhysicalMemory();

// Cursor kinds 0 to 3 follow the pen tool; 4 marks one fixed cell; 5 is shown
// while the right button picks up a rectangle.
enum CursorKind { CURSOR_NORMAL = 0, CURSOR_LINE = 1, CURSOR_RECT = 2, CURSOR_FILL = 3, CURSOR_MARK = 4, CURSOR_PICKUP = 5 };

// Map cells are this many pixels square.
inline constexpr int kChipSize = 32;

inline int CursorKindOf(PenTool pen) { return static_cast<int>(pen); }
