#include "media/graphic_cells.h"

#include "media/image_table.h"

namespace {

struct KindRow {
    int sheet;
    int cell;
    int perColumn;   // cells numbered down a column before the next column; 0: by rows
    int perRow;      // cells numbered along a row (by-row kinds)
    // By-row kinds: the number the block right of the first perRow columns
    // starts at; 0 when nothing right of them is numbered.
    int rightBlock;
};

// The land sheet holds two blocks of 8 x 16 chips side by side; the right one
// continues the numbering at 128. The world chip sheet is one block of rows.
constexpr KindRow kKinds[kGraphicKindCount] = {
    {IMG_SHEET_CHARA, 48, 10, 0, 0},
    {IMG_SHEET_EFFECT, 64, 8, 0, 0},
    {IMG_SHEET_LAND, 32, 0, 8, 128},
    {IMG_SHEET_EVENT, 32, 16, 0, 0},
    {IMG_WORLDMAPCHIP, 32, 0, 8, 0},
};

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
    const int blockWidth = k.perRow * k.cell;
    int number = (x / k.cell) % k.perRow + (y / k.cell) * k.perRow;
    if (x >= blockWidth) {
        if (k.rightBlock == 0)
            return -1;
        number += k.rightBlock;
    }
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
    int block = 0, inBlock = number;
    if (k.rightBlock > 0) {
        block = number / k.rightBlock;
        inBlock = number % k.rightBlock;
    }
    cell.x = block * k.perRow * k.cell + inBlock % k.perRow * k.cell;
    cell.y = inBlock / k.perRow * k.cell;
    return cell;
}
