#include "stage/world_edit.h"

#include <algorithm>
#include <cstdlib>

#include "base/log.h"
#include "base/text.h"

unsigned long long WorldSnapshot::SizeOf(const cWorldMap& w)
{
    unsigned long long size = w.m_Map.size() * sizeof(int32_t);
    for (const cWorldEvent& e : w.m_Events)
        size += 80 + 24ull * static_cast<unsigned long long>(e.m_Pages.size());
    return size;
}

void WorldEditState::Reset()
{
    mode = WorldMode::Chips;
    brush.width = brush.height = 1;
    brush.chip[0][0] = 0;
    undo.Clear();
    modified = false;
    clipboard.clear();
    paletteEvent = -1;
    paletteChip = -1;
    cursor = pickAnchor = CellPos{0, 0};
    penDown = picking = false;
    strokeCells.clear();
}

int WorldCursorKind(const WorldEditState& ed)
{
    if (ed.picking)
        return CURSOR_PICKUP;
    return CURSOR_NORMAL;
}

bool WorldPushUndo(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o)
{
    ed.undo.SetDepthLimit(o.undoDepth);
    return ed.undo.PushUndo(map);
}

bool WorldUndo(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o)
{
    ed.undo.SetDepthLimit(o.undoDepth);
    if (!ed.undo.Undo(map))
        return false;
    ed.modified = true;
    return true;
}

bool WorldRedo(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o)
{
    ed.undo.SetDepthLimit(o.undoDepth);
    if (!ed.undo.Redo(map))
        return false;
    ed.modified = true;
    return true;
}

void SelectWorldChip(WorldEditState& ed, int chip)
{
    ed.paletteChip = chip;
    ed.brush.width = ed.brush.height = 1;
    ed.brush.chip[0][0] = chip;
}

void SetWorldMode(WorldEditState& ed, WorldMode mode)
{
    ed.mode = mode;
    ed.penDown = ed.picking = false;
    ed.strokeCells.clear();
}

void StampWorldChips(cWorldMap& map, const Brush& brush, int x, int y)
{
    const int chips = map.m_Chips.size();
    for (int by = 0; by < brush.height; ++by) {
        const int cy = y + by;
        if (cy < 0 || cy >= map.m_nHeight)
            continue;
        const int32_t* row = brush.chip[by];
        for (int bx = 0; bx < brush.width; ++bx) {
            const int cx = x + bx;
            if (cx >= 0 && cx < map.m_nWidth && ValidChip(row[bx], chips))
                map.SetCell(cx, cy, row[bx]);
        }
    }
}

void PickUpWorld(const cWorldMap& map, Brush& brush, int x0, int y0, int x1, int y1)
{
    const int left = std::min(x0, x1), top = std::min(y0, y1);
    brush.width = std::clamp(std::abs(x1 - x0) + 1, 1, brush.MaxWidth());
    brush.height = std::clamp(std::abs(y1 - y0) + 1, 1, brush.MaxHeight());
    for (int by = 0; by < brush.height; ++by) {
        int32_t* row = brush.chip[by];
        const int cy = top + by;
        for (int bx = 0; bx < brush.width; ++bx) {
            const int cx = left + bx;
            const bool inside = cx >= 0 && cy >= 0 && cx < map.m_nWidth && cy < map.m_nHeight;
            row[bx] = inside ? map.Cell(cx, cy) : 0;
        }
    }
}

// ---------------------------------------------------------------------------
// World events on cells

int WorldEventAt(const cWorldMap& map, int x, int y)
{
    for (int i = 0; i < map.m_Events.size(); ++i)
        if (map.m_Events[i].m_nX == x && map.m_Events[i].m_nY == y)
            return i;
    return -1;
}

int AutoStageNumber(const cWorldMap& map, int x, int y)
{
    std::vector<char> used(1000, 0);
    for (const cWorldEvent& e : map.m_Events) {
        if (e.m_nX == x && e.m_nY == y)
            continue;  // the event the new one replaces
        for (const cWorldEventPage& page : e.m_Pages)
            if (page.m_nEventType == WorldEventType::Stage && page.m_nStageNumber >= 1 && page.m_nStageNumber <= 999)
                used[static_cast<std::size_t>(page.m_nStageNumber)] = 1;
    }
    for (int n = 1; n <= 999; ++n)
        if (!used[static_cast<std::size_t>(n)])
            return n;
    return 0;
}

void NumberStagePages(cWorldEvent& event, int number)
{
    for (cWorldEventPage& page : event.m_Pages)
        if (page.m_nEventType == WorldEventType::Stage)
            page.m_nStageNumber = number;
}

namespace {

void NumberIfAsked(cWorldEvent& event, const cWorldMap& map, const WorldEditOptions& o, CellPos cell)
{
    if (o.autoNumber)
        NumberStagePages(event, AutoStageNumber(map, cell.x, cell.y));
}

struct PlaceResult {
    bool changed = false;
    bool endStroke = false;
};

// The palette event onto one cell of a stroke. pushFirst: this placement is
// the stroke's first change and takes the undo step.
PlaceResult PlaceOnCell(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                        const WorldHooks& hooks, bool pushFirst)
{
    PlaceResult r;
    if (ed.paletteEvent < 0 || ed.paletteEvent >= map.m_Palette.size())
        return r;
    const int standing = WorldEventAt(map, cell.x, cell.y);
    switch (ChoosePlacing(o.editIfPlaced, o.editBeforePlacing, standing >= 0)) {
    case PlaceChoice::Place: {
        cWorldEvent copy = map.m_Palette[ed.paletteEvent];
        NumberIfAsked(copy, map, o, cell);
        if (pushFirst)
            WorldPushUndo(ed, map, o);
        PlaceEvent(map.m_Events, copy, cell.x, cell.y);
        r.changed = true;
        return r;
    }
    case PlaceChoice::EditThenPlace: {
        r.endStroke = true;
        cWorldEvent copy = map.m_Palette[ed.paletteEvent];
        copy.m_nX = cell.x;
        copy.m_nY = cell.y;
        NumberIfAsked(copy, map, o, cell);
        if (hooks.editNew && !hooks.editNew(copy))
            return r;
        WorldPushUndo(ed, map, o);
        PlaceEvent(map.m_Events, copy, cell.x, cell.y);
        r.changed = true;
        return r;
    }
    case PlaceChoice::EditPlaced: {
        r.endStroke = true;
        cWorldEvent copy = map.m_Events[standing];
        if (hooks.editPlaced && !hooks.editPlaced(copy))
            return r;
        if (copy.Equals(map.m_Events[standing]))
            return r;
        WorldPushUndo(ed, map, o);
        map.m_Events[standing] = copy;
        r.changed = true;
        return r;
    }
    }
    return r;
}

bool StrokeVisited(const WorldEditState& ed, CellPos cell)
{
    return std::any_of(ed.strokeCells.begin(), ed.strokeCells.end(),
                       [&](const CellPos& c) { return c.x == cell.x && c.y == cell.y; });
}

}  // namespace

bool WorldPenPress(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                   const WorldHooks& hooks)
{
    ed.cursor = cell;
    ed.strokeCells.clear();
    if (ed.mode == WorldMode::Chips) {
        // A brush whose first chip is not a chip paints nothing and keeps no step.
        if (!ValidChip(ed.brush.chip[0][0], map.m_Chips.size()))
            return false;
        ed.penDown = true;
        WorldPushUndo(ed, map, o);
        StampWorldChips(map, ed.brush, cell.x, cell.y);
        ed.modified = true;
        return true;
    }
    ed.penDown = true;
    ed.strokeCells.push_back(cell);
    PlaceResult r = PlaceOnCell(ed, map, o, cell, hooks, true);
    if (r.endStroke)
        ed.penDown = false;
    ed.modified |= r.changed;
    return r.changed;
}

bool WorldPenDrag(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                  const WorldHooks& hooks)
{
    ed.cursor = cell;
    if (!ed.penDown)
        return false;
    if (ed.mode == WorldMode::Chips) {
        if (!ValidChip(ed.brush.chip[0][0], map.m_Chips.size()))
            return false;
        StampWorldChips(map, ed.brush, cell.x, cell.y);
        return true;
    }
    if (StrokeVisited(ed, cell))
        return false;
    ed.strokeCells.push_back(cell);
    // The press took the stroke's undo step unless it placed nothing.
    PlaceResult r = PlaceOnCell(ed, map, o, cell, hooks, false);
    if (r.endStroke)
        ed.penDown = false;
    ed.modified |= r.changed;
    return r.changed;
}

void WorldPenRelease(WorldEditState& ed, CellPos cell)
{
    ed.cursor = cell;
    ed.penDown = false;
    ed.strokeCells.clear();
}

void WorldPickPress(WorldEditState& ed, CellPos cell)
{
    ed.cursor = cell;
    if (ed.mode != WorldMode::Chips)
        return;
    ed.pickAnchor = cell;
    ed.picking = true;
    ed.paletteChip = -1;
}

bool WorldPickRelease(WorldEditState& ed, const cWorldMap& map, CellPos cell)
{
    ed.cursor = cell;
    if (!ed.picking)
        return false;
    ed.picking = false;
    PickUpWorld(map, ed.brush, ed.pickAnchor.x, ed.pickAnchor.y, cell.x, cell.y);
    return true;
}

// ---------------------------------------------------------------------------
// Cell commands

bool CopyWorldEventAt(WorldEditState& ed, const cWorldMap& map, CellPos cell)
{
    int i = WorldEventAt(map, cell.x, cell.y);
    if (i >= 0)
        ed.clipboard.assign(1, map.m_Events[i]);
    return false;
}

bool CutWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell)
{
    int i = WorldEventAt(map, cell.x, cell.y);
    if (i < 0)
        return false;
    WorldPushUndo(ed, map, o);
    ed.clipboard.assign(1, map.m_Events[i]);
    map.m_Events.erase(i);
    ed.modified = true;
    return true;
}

bool PasteWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell)
{
    if (ed.clipboard.empty())
        return false;
    cWorldEvent copy = ed.clipboard.front();
    NumberIfAsked(copy, map, o, cell);
    WorldPushUndo(ed, map, o);
    PlaceEvent(map.m_Events, copy, cell.x, cell.y);
    ed.modified = true;
    return true;
}

bool DeleteWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell)
{
    if (WorldEventAt(map, cell.x, cell.y) < 0)
        return false;
    WorldPushUndo(ed, map, o);
    std::erase_if(map.m_Events.items(), [&](const cWorldEvent& e) { return e.m_nX == cell.x && e.m_nY == cell.y; });
    ed.modified = true;
    return true;
}

bool NewWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                     const WorldHooks& hooks)
{
    ed.modified = true;
    cWorldEvent fresh;
    fresh.m_nX = cell.x;
    fresh.m_nY = cell.y;
    NumberIfAsked(fresh, map, o, cell);
    if (hooks.editNew && !hooks.editNew(fresh))
        return false;
    WorldPushUndo(ed, map, o);
    PlaceEvent(map.m_Events, fresh, cell.x, cell.y);
    return true;
}

bool EditWorldEventAt(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o, CellPos cell,
                      const WorldHooks& hooks)
{
    int i = WorldEventAt(map, cell.x, cell.y);
    if (i < 0 || !hooks.editPlaced)
        return false;
    cWorldEvent copy = map.m_Events[i];
    if (!hooks.editPlaced(copy) || copy.Equals(map.m_Events[i]))
        return false;
    WorldPushUndo(ed, map, o);
    map.m_Events[i] = copy;
    ed.modified = true;
    return true;
}

WorldCellMenu WorldCellMenuFor(const WorldEditState& ed, const cWorldMap& map, CellPos cell)
{
    return {WorldEventAt(map, cell.x, cell.y) >= 0, !ed.clipboard.empty()};
}

void ClearWorldChips(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o)
{
    WorldPushUndo(ed, map, o);
    std::fill(map.m_Map.begin(), map.m_Map.end(), 0);
    ed.modified = true;
}

void ClearWorldEvents(WorldEditState& ed, cWorldMap& map, const WorldEditOptions& o)
{
    WorldPushUndo(ed, map, o);
    map.m_Events.clear();
    ed.modified = true;
}

// ---------------------------------------------------------------------------
// Settings and the event editor's rules

WorldMapSettings SettingsOf(const cWorldMap& map)
{
    return {map.m_nWidth, map.m_nHeight, map.m_nStartX, map.m_nStartY, map.m_nBack, map.m_bUseBackImage, map.m_BackImage};
}

void ApplyWorldMapSettings(WorldEditState& ed, cWorldMap& map, const WorldMapSettings& s)
{
    map.m_nStartX = s.startX;
    map.m_nStartY = s.startY;
    map.m_nBack = s.back;
    map.m_bUseBackImage = s.useBackImage;
    map.m_BackImage = s.backImage;
    map.ResizeWorldMap(std::clamp(s.width, 1, kWorldMaxWidth), std::clamp(s.height, 1, kWorldMaxHeight));
    map.ValidateWorldMap();
    ed.modified = true;
    ed.undo.Clear();
    ed.penDown = ed.picking = false;
    ed.cursor.x = std::min(ed.cursor.x, map.m_nWidth - 1);
    ed.cursor.y = std::min(ed.cursor.y, map.m_nHeight - 1);
}

std::string WorldPageLine(const cWorldEventPage& page)
{
    return StrPrintf(SJ("ステージ番号 %d").c_str(), page.m_nStageNumber);
}

WorldPageEnabling WorldPageEnablingOf(const cWorldEventPage& page)
{
    WorldPageEnabling e;
    e.commonValue = page.m_nCommonVar != 0;
    e.stagePart = page.m_nEventType == WorldEventType::Stage;
    e.variation = e.stagePart && page.m_bVariation != 0;
    return e;
}
