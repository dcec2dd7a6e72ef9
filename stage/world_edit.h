// Editing the world map: the world brush, painting chips and placing world
// events, the pick-up, undo and redo, the clear and cell commands and the
// settings. Windows turn input into these calls; nothing here knows about
// windows or files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "stage/map_edit.h"
#include "world/world_map.h"

// The largest world map, and so the largest world brush.
inline constexpr int kWorldMaxWidth = 200;
inline constexpr int kWorldMaxHeight = 150;
inline constexpr int kWorldPaletteMax = 99;

// The world map window paints world chips (0) or places world events (1).
enum class WorldMode : int32_t { Chips = 0, Events = 1 };

// One undo step of the world map: the chip grid and the placed world events.
struct WorldSnapshot {
    using Layers = cWorldMap;
    std::vector<int32_t> map;
    RecordList<cWorldEvent> events;

    static WorldSnapshot Take(const cWorldMap& w) { return {w.m_Map, w.m_Events}; }
    void RestoreInto(cWorldMap& w) &&
    {
        w.m_Map = std::move(map);
        w.m_Events = std::move(events);
    }
    static unsigned long long SizeOf(const cWorldMap& w);
};
using WorldUndoHistory = SnapshotHistory<WorldSnapshot>;

// The editor settings the world map editor follows.
struct WorldEditOptions {
    bool editIfPlaced = false;       // "配置済みなら編集"
    bool editBeforePlacing = false;  // "配置直前に編集"
    bool autoNumber = false;         // "ステージ番号を自動で振り分け"
    int undoDepth = 3;
};

// The world event editor, run on a copy; true for OK. Unset hooks accept.
struct WorldHooks {
    std::function<bool(cWorldEvent& event)> editNew;
    std::function<bool(cWorldEvent& event)> editPlaced;
};

// What the world map editor keeps besides the map itself.
struct WorldEditState {
    WorldEditState() : brush(kWorldMaxWidth, kWorldMaxHeight, false) {}

    WorldMode mode = WorldMode::Chips;
    Brush brush;
    WorldUndoHistory undo;
    bool modified = false;
    std::vector<cWorldEvent> clipboard;  // the world map's own, apart from the stage's
    int paletteEvent = -1;               // selected world event of the palette, -1 none
    int paletteChip = -1;                // chip chosen in the chip palette, -1 none

    CellPos cursor{0, 0};
    CellPos pickAnchor{0, 0};
    bool penDown = false;   // a left stroke is in progress
    bool picking = false;   // the right button picks up
    // Cells the current event stroke has placed on, so a drag places once per cell.
    std::vector<CellPos> strokeCells;

    // Back to a fresh window: chip mode, a 1 x 1 brush of chip 0, nothing kept.
    void Reset();
};

// The cursor kind the world map view shows.
int WorldCursorKind(const WorldEditState& ed);

// Undo steps with the depth of the options.
bool WorldPushUndo(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o);
bool WorldUndo(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o);
bool WorldRedo(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o);

// The chip palette's click: a 1 x 1 brush of that chip.
void SelectWorldChip(WorldEditState& ed, int chip);
// Switches the mode; a stroke or pick-up in progress ends.
void SetWorldMode(WorldEditState& ed, WorldMode mode);

// Stamps the brush with its top-left cell at (x, y), clipped to the map; only
// chips of the map's chip set are written.
void StampWorldChips(cWorldMap& map, const Brush& brush, int x, int y);
// The rectangle between the two cells into the brush (chips outside the map 0).
void PickUpWorld(const cWorldMap& map, Brush& brush, int x0, int y0, int x1, int y1);

// Left button: press, move while down, release. Each returns true when the map
// changed. In event mode every cell the stroke passes gets the palette event;
// a stroke that opens the editor ends there.
bool WorldPenPress(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                   const WorldHooks& hooks = {});
bool WorldPenDrag(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                  const WorldHooks& hooks = {});
void WorldPenRelease(WorldEditState& ed, CellPos cell);
// Right button in chip mode: the anchor, then the rectangle into the brush.
void WorldPickPress(WorldEditState& ed, CellPos cell);
bool WorldPickRelease(WorldEditState& ed, const cWorldMap& map, CellPos cell);

// The first world event standing on a cell, -1 when none.
int WorldEventAt(const cWorldMap& map, int x, int y);
// The smallest stage number from 1 to 999 that no type-0 page of an event of
// the map uses, the events on (x, y) not counted; 0 when all are taken.
int AutoStageNumber(const cWorldMap& map, int x, int y);
// Gives every type-0 page of the event the number.
void NumberStagePages(cWorldEvent& event, int number);

// The cell commands; each returns true when the map changed.
bool CopyWorldEventAt(WorldEditState& ed, const cWorldMap& map, CellPos cell);
bool CutWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell);
bool PasteWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell);
bool DeleteWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell);
// A fresh event for the cell, numbered, edited, placed on OK; the map is
// marked changed either way.
bool NewWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                     const WorldHooks& hooks);
// Runs the editor on the cell's event; OK pushes an undo step, then stores it.
bool EditWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                      const WorldHooks& hooks);
// What the cell popup offers: edit, cut, copy and delete need an event on the
// cell, paste a held event; new always.
struct WorldCellMenu {
    bool onEvent = false;
    bool canPaste = false;
};
WorldCellMenu WorldCellMenuFor(const WorldEditState& ed, const cWorldMap& map, CellPos cell);

// The clear commands (the window asks first): an undo step, then the layer.
void ClearWorldChips(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o);
void ClearWorldEvents(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o);

// What the settings dialog edits.
struct WorldMapSettings {
    int32_t width = 20;
    int32_t height = 15;
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t back = 0;
    int32_t useBackImage = 0;
    std::string backImage;
};
WorldMapSettings SettingsOf(const cWorldMap& map);
// Stores the settings, resizes and validates the map at once (events outside
// the new size go), marks it modified and empties the histories.
void ApplyWorldMapSettings(WorldEditState& ed, cWorldMap& map, const WorldMapSettings& s);

// Page lines of the world event editor: "ステージ番号 %d" (CP932).
std::string WorldPageLine(const cWorldEventPage& page);

// Which controls of the world event editor are enabled for a page.
struct WorldPageEnabling {
    bool commonValue = false;  // the value and comparison of the common variable
    bool stagePart = false;    // number, name, file, variation switch, the two checks, game clear
    bool variation = false;    // the variation's variable and value
};
WorldPageEnabling WorldPageEnablingOf(const cWorldEventPage& page);

// An event keeps between one and this many pages.
inline constexpr int kWorldPageMax = 99;
