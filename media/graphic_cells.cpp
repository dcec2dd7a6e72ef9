#include "media/graphic_cells.h"

#include "media/image_table.h"

namespace {

struct KindRow {
    int sheet;
    int cell;
    int perColumn;   // cells numbered down a column before the next column; 0: by rows
    int perRow;      // cells numbered along a row (by-row kinds)
};

constexpr KindRow kKinds[kGraphicKindCount] = {
    {IMG_SHEET_CHARA, 48, 10, 0},
    {IMG_SHEET_EFFECT, 64, 8, 0},
    {IMG_SHEET_LAND, 32, 0, 8},
    {IMG_SHEET_EVENT, 32, 16, 0},
};

// The land sheet holds two blocks of 8 x 16 chips side by side; the right one
// continues the numbering at 128.
constexpr int kLandBlockWidth = 256;
constexpr int kLandBlockCells = 128;

bool Known(int kind) { return kind >= 0 && kind < kGraphicKindCount; }

}  // namespace

int GraphicSheet(int kind) { return Known(kind) ? kKinds[kind].sheet : -1; }

int GraphicCellSize(int kind) { return Known(kind) ? kKinds[kind].cell : 0; }

int GraphicCellAt(int kind, int x, int y)
{
    if (!Known(kind) || x < 0 || y < 0)
        return -1;
    const KindRow& k = kKinds[kind];
    if (k.perColumn > 0)
        return (x / k.cell) * k.perColumn + y / k.cell;
    int number = (x / k.cell) % k.perRow + (y / k.cell) * k.perRow;
    if (x >= kLandBlockWidth)
        number += kLandBlockCells;
    return number;
}

GraphicCell GraphicCellRect(int kind, int number)
{
    if (!Known(kind) || number < 0)
        return {};
    const KindRow& k = kKinds[kind];
    GraphicCell cell{0, 0, k.cell, k.cell};
    if (k.perColumn > 0) {
        cell.x = number / k.perColumn * k.cell;
        cell.y = number % k.perColumn * k.cell;
        return cell;
    }
    int block = number / kLandBlockCells;
    int inBlock = number % kLandBlockCells;
    cell.x = block * kLandBlockWidth + inBlock % k.perRow * k.cell;
    cell.y = inBlock / k.perRow * k.cell;
    return cell;
}
