#include "stage/map_render.h"

#include <algorithm>

#include "stage/stage.h"
#include "world/world_map.h"

void FillRect(Surface& s, int x, int y, int w, int h, Rgb colour)
{
    int x0 = std::max(x, 0), y0 = std::max(y, 0);
    int x1 = std::min(x + w, s.Width()), y1 = std::min(y + h, s.Height());
    const uint32_t v = PixelOf(colour);
    for (int yy = y0; yy < y1; ++yy)
        std::fill(s.Row(yy) + x0, s.Row(yy) + std::max(x0, x1), v);
}

void FrameRect(Surface& s, int x, int y, int w, int h, int thickness, Rgb colour)
{
    thickness = std::min({thickness, w, h});
    if (thickness <= 0)
        return;
    FillRect(s, x, y, w, thickness, colour);
    FillRect(s, x, y + h - thickness, w, thickness, colour);
    FillRect(s, x, y, thickness, h, colour);
    FillRect(s, x + w - thickness, y, thickness, h, colour);
}

void DrawKeyed(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, Rgb key)
{
    const uint32_t k = PixelOf(key) & 0x00FFFFFFu;
    for (int j = 0; j < h; ++j) {
        int ty = y + j, fy = sy + j;
        if (ty < 0 || ty >= dst.Height() || fy < 0 || fy >= src.Height())
            continue;
        uint32_t* out = dst.Row(ty);
        const uint32_t* in = src.Row(fy);
        for (int i = 0; i < w; ++i) {
            int tx = x + i, fx = sx + i;
            if (tx < 0 || tx >= dst.Width() || fx < 0 || fx >= src.Width() || (in[fx] & 0x00FFFFFFu) == k)
                continue;
            out[tx] = in[fx] | kOpaque;
        }
    }
}

void DrawScaled(Surface& dst, int x, int y, int w, int h, const Surface& src, int sx, int sy, int sw, int sh)
{
    if (src.Empty() || w <= 0 || h <= 0)
        return;
    for (int j = 0; j < h; ++j) {
        int ty = y + j, fy = sy + j * sh / h;
        if (ty < 0 || ty >= dst.Height() || fy < 0 || fy >= src.Height())
            continue;
        uint32_t* out = dst.Row(ty);
        for (int i = 0; i < w; ++i) {
            int tx = x + i, fx = sx + i * sw / w;
            if (tx < 0 || tx >= dst.Width() || fx < 0 || fx >= src.Width())
                continue;
            if (src.HasMask() && src.MaskPixel(fx, fy) == kMaskWhite)
                continue;
            out[tx] = src.Pixel(fx, fy) | kOpaque;
        }
    }
}

namespace {

bool Usable(const Surface* s) { return s && !s->Empty(); }

// Grid lines over the whole client area.
void DrawGrid(Surface& target)
{
    for (int x = 0; x < target.Width(); x += kChipSize)
        FillRect(target, x, 0, 1, target.Height(), kGridColour);
    for (int y = 0; y < target.Height(); y += kChipSize)
        FillRect(target, 0, y, target.Width(), 1, kGridColour);
}

void DrawCursor(Surface& target, const MapCursor& c, int scrollX, int scrollY)
{
    auto px = [&](int cellX) { return (cellX - scrollX) * kChipSize; };
    auto py = [&](int cellY) { return (cellY - scrollY) * kChipSize; };
    auto box = [&](int x0, int y0, int x1, int y1, Rgb colour) {
        int l = std::min(x0, x1), r = std::max(x0, x1), t = std::min(y0, y1), b = std::max(y0, y1);
        FrameRect(target, px(l), py(t), (r - l + 1) * kChipSize, (b - t + 1) * kChipSize, 2, colour);
    };
    switch (c.kind) {
    case CURSOR_NORMAL:
        FrameRect(target, px(c.cell.x), py(c.cell.y), c.brushW * kChipSize, c.brushH * kChipSize, 2, kCursorColour);
        break;
    case CURSOR_LINE:
        if (c.penDown)
            for (const CellPos& cell : LineCells(c.anchor.x, c.anchor.y, c.cell.x, c.cell.y))
                box(cell.x, cell.y, cell.x, cell.y, kCursorColour);
        else
            box(c.cell.x, c.cell.y, c.cell.x, c.cell.y, kCursorColour);
        break;
    case CURSOR_RECT:
        if (c.penDown)
            box(c.anchor.x, c.anchor.y, c.cell.x, c.cell.y, kCursorColour);
        else
            box(c.cell.x, c.cell.y, c.cell.x, c.cell.y, kCursorColour);
        break;
    case CURSOR_FILL:
        box(c.cell.x, c.cell.y, c.cell.x, c.cell.y, kCursorColour);
        break;
    case CURSOR_MARK:
        if (c.marked)
            box(c.markCell.x, c.markCell.y, c.markCell.x, c.markCell.y, kCursorColour);
        break;
    case CURSOR_PICKUP:
        box(c.pickAnchor.x, c.pickAnchor.y, c.cell.x, c.cell.y, kPickUpColour);
        break;
    }
}

}  // namespace

void RenderMap(Surface& target, const MapScene& scene, int scrollX, int scrollY, const MapCursor& cursor)
{
    if (target.Empty())
        return;
    if (!scene.stage) {
        FillSurface(target, kEmptyViewColour);
        return;
    }
    const cStage& stage = *scene.stage;
    FillSurface(target, Rgb{});
    const int cols = target.Width() / kChipSize + 1, rows = target.Height() / kChipSize + 1;
    const int lastX = std::min(scrollX + cols, stage.m_nWidth), lastY = std::min(scrollY + rows, stage.m_nHeight);
    auto inView = [&](int x, int y) { return x >= scrollX && y >= scrollY && x < lastX && y < lastY; };

    // Chips.
    if (Usable(scene.art.chips))
        for (int y = std::max(scrollY, 0); y < lastY; ++y)
            for (int x = std::max(scrollX, 0); x < lastX; ++x) {
                int chip = stage.Cell(x, y);
                if (chip < 0 || chip >= static_cast<int>(scene.chipImages.size()))
                    continue;
                int n = scene.chipImages[static_cast<std::size_t>(chip)];
                DrawSurface(target, (x - scrollX) * kChipSize, (y - scrollY) * kChipSize, kChipSize, kChipSize,
                            *scene.art.chips, (n % 8) * kChipSize, (n / 8) * kChipSize, 1);
            }

    // Placed enemies.
    if (Usable(scene.art.chara))
        for (const cPutEnemy& e : stage.m_PutEnemy) {
            if (e.m_nEnemy == 0 || !e.IsPlaced() || !inView(e.m_nX, e.m_nY))
                continue;
            int n = scene.enemyPattern ? scene.enemyPattern(e.m_nEnemy) : 0;
            if (n < 0)
                continue;
            int x = (e.m_nX - scrollX) * kChipSize, y = (e.m_nY - scrollY) * kChipSize;
            int sx = (n / 20) * 64 + 32, sy = (n % 20) * kChipSize;
            if (scene.art.charaKey && !scene.art.chara->HasMask())
                DrawKeyed(target, x, y, kChipSize, kChipSize, *scene.art.chara, sx, sy, *scene.art.charaKey);
            else
                DrawSurface(target, x, y, kChipSize, kChipSize, *scene.art.chara, sx, sy, 0);
        }

    // Events: a small picture of the first page in the cell's upper right corner.
    for (const cEvent& ev : stage.m_Events) {
        if (scene.gameView || ev.m_Pages.empty() || !inView(ev.m_nX, ev.m_nY))
            continue;
        int x = (ev.m_nX - scrollX) * kChipSize + 15, y = (ev.m_nY - scrollY) * kChipSize + 1;
        int g = ev.m_Pages[0].m_nGraphic;
        if (g != 0 && Usable(scene.art.events))
            DrawScaled(target, x, y, 16, 16, *scene.art.events, (g / 32) * 64, (g % 32) * kChipSize, kChipSize, kChipSize);
        FrameRect(target, x, y, 16, 16, 1, kEventFrameColour);
    }

    // The allies' start positions.
    int group = stage.m_nAllyStartGroup;
    if (Usable(scene.art.markers) && group >= 0 && group < stage.m_GroupPos.size())
        for (const CellPos& pos : stage.m_GroupPos[group].m_Positions)
            if (inView(pos.x, pos.y))
                DrawSurface(target, (pos.x - scrollX) * kChipSize, (pos.y - scrollY) * kChipSize, kChipSize, kChipSize,
                            *scene.art.markers, 0, 64, 0);

    if (scene.gameView)
        return;
    DrawGrid(target);
    DrawCursor(target, cursor, scrollX, scrollY);
}

void RenderWorldMap(Surface& target, const WorldScene& scene, int scrollX, int scrollY, const MapCursor& cursor)
{
    if (target.Empty())
        return;
    if (!scene.map) {
        FillSurface(target, kEmptyViewColour);
        return;
    }
    const cWorldMap& map = *scene.map;
    FillSurface(target, Rgb{});
    const int cols = target.Width() / kChipSize + 1, rows = target.Height() / kChipSize + 1;
    const int firstX = std::max(scrollX, 0), firstY = std::max(scrollY, 0);
    const int lastX = std::min(scrollX + cols, map.m_nWidth), lastY = std::min(scrollY + rows, map.m_nHeight);
    auto inView = [&](int x, int y) { return x >= firstX && y >= firstY && x < lastX && y < lastY; };

    // The background picture, behind everything else on the map.
    const bool back = map.m_bUseBackImage && Usable(scene.back);
    if (back) {
        const int w = std::min(scene.back->Width(), map.m_nWidth * kChipSize);
        const int h = std::min(scene.back->Height(), map.m_nHeight * kChipSize);
        DrawSurface(target, -scrollX * kChipSize, -scrollY * kChipSize, w, h, *scene.back, 0, 0, 1);
    }

    // World chips: each chip names its picture on the world chip sheet. With
    // nothing beneath them they are copied whole, which is quicker.
    const int chipCount = map.m_Chips.size();
    const bool keyed = back && scene.chipKey && Usable(scene.chips) && !scene.chips->HasMask();
    if (Usable(scene.chips))
        for (int y = firstY; y < lastY; ++y)
            for (int x = firstX; x < lastX; ++x) {
                int chip = map.Cell(x, y);
                if (chip < 0 || chip >= chipCount)
                    continue;
                const int g = map.m_Chips[chip].m_nGraphic;
                const int px = (x - scrollX) * kChipSize, py = (y - scrollY) * kChipSize;
                const int sx = (g % 8) * kChipSize, sy = (g / 8) * kChipSize;
                if (keyed)
                    DrawKeyed(target, px, py, kChipSize, kChipSize, *scene.chips, sx, sy, *scene.chipKey);
                else
                    DrawSurface(target, px, py, kChipSize, kChipSize, *scene.chips, sx, sy, 1);
            }

    // Placed world events: the first page's picture, whole and masked, in a frame.
    const int perRow = Usable(scene.events) ? std::max(scene.events->Width() / kChipSize, 1) : 1;
    for (const cWorldEvent& ev : map.m_Events) {
        if (ev.m_Pages.empty() || !inView(ev.m_nX, ev.m_nY))
            continue;
        int x = (ev.m_nX - scrollX) * kChipSize, y = (ev.m_nY - scrollY) * kChipSize;
        int g = ev.m_Pages[0].m_nGraphic;
        if (g >= 0 && Usable(scene.events))
            DrawScaled(target, x, y, kChipSize, kChipSize, *scene.events, (g % perRow) * kChipSize,
                       (g / perRow) * kChipSize, kChipSize, kChipSize);
        FrameRect(target, x + 1, y + 1, kChipSize - 1, kChipSize - 1, 1, kEventFrameColour);
    }

    // The start position.
    if (inView(map.m_nStartX, map.m_nStartY))
        FrameRect(target, (map.m_nStartX - scrollX) * kChipSize + 4, (map.m_nStartY - scrollY) * kChipSize + 4,
                  kChipSize - 7, kChipSize - 7, 2, kStartColour);

    DrawGrid(target);
    DrawCursor(target, cursor, scrollX, scrollY);
}
