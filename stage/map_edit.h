// Painting a stage: the brush, the four pen tools, the pick-up into the brush
// and the undo history. Windows turn mouse input into these calls; nothing here
// knows about windows.
#pragma once

#include <algorithm>
#include <cstddef>
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

// A table of brush cells, rows by columns, held in one block: table[row][column].
class BrushTable {
public:
    BrushTable(int columns, int rows, int32_t fill)
        : columns_(columns), cells_(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), fill)
    {
    }
    int32_t* operator[](int row) { return cells_.data() + static_cast<std::ptrdiff_t>(row) * columns_; }
    const int32_t* operator[](int row) const { return cells_.data() + static_cast<std::ptrdiff_t>(row) * columns_; }
    int Columns() const { return columns_; }
    int Rows() const { return columns_ ? static_cast<int>(cells_.size()) / columns_ : 0; }

private:
    int columns_;
    std::vector<int32_t> cells_;
};

// What the left button paints: chip numbers (map chips) or placed-enemy indexes
// (enemies, -1 = none), width x height cells of the two tables. The largest
// size is the largest map the brush serves (a stage's 64 x 64 by default).
struct Brush {
    Brush() : Brush(kBrushMax, kBrushMax) {}
    Brush(int maxWidth, int maxHeight, bool enemies = true)
        : chip(maxWidth, maxHeight, 0), enemy(enemies ? maxWidth : 0, enemies ? maxHeight : 0, -1)
    {
    }
    int MaxWidth() const { return chip.Columns(); }
    int MaxHeight() const { return chip.Rows(); }
    int width = 1;
    int height = 1;
    BrushTable chip;   // [row][column]
    BrushTable enemy;  // [row][column]; empty for a brush without enemies
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

// Places a copy of an event on a cell: every event standing there goes, the
// copy takes the cell and is appended. A cell so holds at most one event.
template <class Event>
Event& PlaceEvent(RecordList<Event>& events, const Event& event, int x, int y)
{
    Event copy = event;  // event may be one of the list's own
    std::erase_if(events.items(), [&](const Event& e) { return e.m_nX == x && e.m_nY == y; });
    events.items().push_back(std::move(copy));
    Event& placed = events.items().back();
    placed.m_nX = x;
    placed.m_nY = y;
    return placed;
}
cEvent& PlaceEvent(MapLayers& map, const cEvent& event, int x, int y);

// What a left press with an event of the palette does, from the palette's two
// switches ("配置済みなら編集", "配置直前に編集") and whether an event already
// stands on the cell.
enum class PlaceChoice {
    Place,          // a copy of the palette event goes on the cell
    EditThenPlace,  // the editor opens on the copy; OK places it
    EditPlaced,     // the editor opens on the event standing there
};
inline PlaceChoice ChoosePlacing(bool editIfPlaced, bool editBeforePlacing, bool eventOnCell)
{
    if (editIfPlaced && eventOnCell)
        return PlaceChoice::EditPlaced;
    return editBeforePlacing ? PlaceChoice::EditThenPlace : PlaceChoice::Place;
}

// One undo step of a stage: the chip layer, the placed enemies and the events.
struct MapSnapshot {
    using Layers = MapLayers;
    std::vector<int32_t> chips;
    RecordList<cPutEnemy> enemies;
    RecordList<cEvent> events;

    static MapSnapshot Take(const MapLayers& map) { return {*map.chips, *map.enemies, *map.events}; }
    void RestoreInto(MapLayers& map) &&
    {
        *map.chips = std::move(chips);
        *map.enemies = std::move(enemies);
        *map.events = std::move(events);
    }
    // The estimate of a snapshot's size that is checked against free memory.
    static unsigned long long SizeOf(const MapLayers& map);
};

// Free physical memory of this machine in bytes.
unsigned long long FreePhysicalMemory();

// The undo and redo histories over a kind of snapshot. Each step is a full
// snapshot; before taking one its size is estimated and compared with the free
// memory, and when memory is short both histories are emptied and the step is
// refused. A snapshot type names what it is taken of (Layers) and gives Take,
// an rvalue RestoreInto and SizeOf.
template <class Snapshot>
class SnapshotHistory {
public:
    using Layers = typename Snapshot::Layers;
    using FreeMemoryFn = std::function<unsigned long long()>;

    explicit SnapshotHistory(FreeMemoryFn freeMemory = nullptr)
        : freeMemory_(freeMemory ? std::move(freeMemory) : FreeMemoryFn(FreePhysicalMemory))
    {
    }

    void SetDepthLimit(int steps) { depth_ = steps < 1 ? 1 : steps; }
    int DepthLimit() const { return depth_; }

    // Takes a snapshot before an edit and empties the redo history; false when
    // it was refused for lack of memory.
    bool PushUndo(const Layers& map)
    {
        redo_.clear();
        return Push(undo_, map);
    }
    // Restores the last step, keeping the current state for redo; false when
    // there was nothing to undo (or no memory to keep the current state).
    bool Undo(Layers& map) { return Step(undo_, redo_, map); }
    bool Redo(Layers& map) { return Step(redo_, undo_, map); }
    void Clear()
    {
        undo_.clear();
        redo_.clear();
    }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    int UndoCount() const { return static_cast<int>(undo_.size()); }
    int RedoCount() const { return static_cast<int>(redo_.size()); }

    // The estimate a snapshot of map is checked against.
    static unsigned long long SnapshotSize(const Layers& map) { return Snapshot::SizeOf(map); }

private:
    bool Push(std::vector<Snapshot>& history, const Layers& map)
    {
        if (freeMemory_() <= SnapshotSize(map)) {
            Clear();
            return false;
        }
        if (static_cast<int>(history.size()) >= depth_)
            history.erase(history.begin());
        history.push_back(Snapshot::Take(map));
        return true;
    }
    bool Step(std::vector<Snapshot>& from, std::vector<Snapshot>& to, Layers& map)
    {
        if (from.empty())
            return false;
        Snapshot step = std::move(from.back());
        from.pop_back();
        if (!Push(to, map))
            return false;  // memory short: both histories are gone, the map stays
        std::move(step).RestoreInto(map);
        return true;
    }

    FreeMemoryFn freeMemory_;
    int depth_ = 3;
    std::vector<Snapshot> undo_;
    std::vector<Snapshot> redo_;
};

// The stage's undo and redo histories.
using UndoHistory = SnapshotHistory<MapSnapshot>;


// Cursor kinds 0 to 3 follow the pen tool; 4 marks one fixed cell; 5 is shown
// while the right button picks up a rectangle.
enum CursorKind { CURSOR_NORMAL = 0, CURSOR_LINE = 1, CURSOR_RECT = 2, CURSOR_FILL = 3, CURSOR_MARK = 4, CURSOR_PICKUP = 5 };

// Map cells are this many pixels square.
inline constexpr int kChipSize = 32;

inline int CursorKindOf(PenTool pen) { return static_cast<int>(pen); }
