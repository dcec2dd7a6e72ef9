// Drawing the stage map into an image of the view's size: chips, placed
// enemies, events, the allies' start markers, the grid and the cursor. Only
// the cells in view are drawn.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include "media/surface.h"
#include "stage/map_edit.h"

class cStage;
class cWorldMap;

// The images the map is drawn from (any may be missing or empty).
struct MapArt {
    const Surface* chips = nullptr;    // map chip sheet: image n at ((n mod 8) x 32, (n div 8) x 32)
    const Surface* chara = nullptr;    // character sheet: pattern n at ((n div 20) x 64 + 32, (n mod 20) x 32)
    const Surface* events = nullptr;   // event sheet: graphic g at ((g div 32) x 64, (g mod 32) x 32)
    const Surface* markers = nullptr;  // the allies' start marker at (0, 64)
    // The character sheet is loaded without a mask: pixels of this colour (the
    // project's transparent colour) show the chips beneath.
    std::optional<Rgb> charaKey;
};

// What is drawn besides the stage.
struct MapScene {
    const cStage* stage = nullptr;      // none: the view is cleared
    std::vector<int> chipImages;        // image number of each chip
    std::function<int(int enemy)> enemyPattern;  // character pattern of an enemy, -1 for none
    MapArt art;
    // As the game shows the stage: without the events' pictures, the grid
    // and the cursor.
    bool gameView = false;
};

// The world map and the pictures it is drawn from (any may be missing).
struct WorldScene {
    const cWorldMap* map = nullptr;    // none: the view is cleared
    const Surface* chips = nullptr;    // world chip sheet: picture g at ((g mod 8) x 32, (g div 8) x 32)
    const Surface* events = nullptr;   // world event sheet: 32 x 32 pictures numbered row by row
    // The map's background picture, drawn from the map's top left corner
    // under the chips while the map uses it; it scrolls with the map and
    // stops at the map's edge.
    const Surface* back = nullptr;
    // The world chip sheet is loaded without a mask: over a background
    // picture, chip pixels of this colour (the project's transparent colour)
    // show the picture beneath.
    std::optional<Rgb> chipKey;
};

// The cursor as the view shows it.
struct MapCursor {
    int kind = CURSOR_NORMAL;
    CellPos cell{0, 0};
    int brushW = 1, brushH = 1;
    bool penDown = false;
    CellPos anchor{0, 0};
    CellPos pickAnchor{0, 0};
    bool marked = false;
    CellPos markCell{0, 0};
};

// Colours of the view.
inline constexpr Rgb kCursorColour{128, 0, 255};
inline constexpr Rgb kPickUpColour{255, 0, 128};
inline constexpr Rgb kGridColour{72, 72, 72};
inline constexpr Rgb kEventFrameColour{255, 255, 255};
inline constexpr Rgb kEmptyViewColour{128, 128, 128};
inline constexpr Rgb kStartColour{255, 224, 0};

// Draws the map scrolled to (scrollX, scrollY) cells into target, whose size is
// the view's client size.
void RenderMap(Surface& target, const MapScene& scene, int scrollX, int scrollY, const MapCursor& cursor);

// Draws the world map the same way: the background picture, chips, placed
// world events, the start position, the grid and the cursor.
void RenderWorldMap(Surface& target, const WorldScene& scene, int scrollX, int scrollY, const MapCursor& cursor);

// Drawing primitives, clipped to the target.
void FillRect(Surface& s, int x, int y, int w, int h, Rgb colour);
// A frame of the given thickness inside the rectangle.
void FrameRect(Surface& s, int x, int y, int w, int h, int thickness, Rgb colour);
// Copies the w x h rectangle at (sx, sy) of src to (x, y), clipped; source
// pixels of the key colour keep the target.
void DrawKeyed(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rgb key);
// Copies the sw x sh source rectangle scaled to w x h (nearest pixel); pixels
// the source's mask marks transparent keep the target.
void DrawScaled(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh);
