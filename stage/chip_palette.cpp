#include "stage/chip_palette.h"

#include <algorithm>

#include "base/log.h"
#include "base/text.h"
#include "database/land.h"

int PaletteRows(int chipCount) { return chipCount <= 0 ? 1 : (chipCount - 1) / kPaletteColumns + 1; }

int PaletteChipAt(int x, int y, int firstRow)
{
    if (x < 0 || y < 0 || x >= kPaletteColumns * kPaletteCell)
        return -1;
    return x / kPaletteCell + (y / kPaletteCell + firstRow) * kPaletteColumns;
}

void PaletteChipPos(int chip, int firstRow, int& x, int& y)
{
    x = (chip % kPaletteColumns) * kPaletteCell;
    y = (chip / kPaletteColumns - firstRow) * kPaletteCell;
}

void ChipSheetPos(int image, int& x, int& y)
{
    x = (image % 8) * kPaletteCell;
    y = (image / 8) * kPaletteCell;
}

int PaletteClientHeight(int chipCount, int clientTop, int frameBottom, int workBottom)
{
    int wanted = PaletteRows(chipCount) * kPaletteCell;
    int room = workBottom - frameBottom - clientTop;
    return std::max(std::min(wanted, room), kPaletteCell);
}

PaletteScroll PaletteScrollRange(int chipCount, int clientHeight)
{
    PaletteScroll s;
    s.page = std::max(clientHeight / kPaletteCell, 1);
    s.maximum = std::max(PaletteRows(chipCount) - s.page, 0);
    return s;
}

std::string ChipStatusText(int chip, int chipCount, const std::string& name)
{
    if (chip < 0 || chip >= chipCount)
        return std::string();
    return StrPrintf("%d : %s", chip + 1, name.c_str());
}

std::string ChipHoverText(int chip, int chipCount, const cLand* land)
{
    if (chip < 0 || chip >= chipCount || !land)
        return std::string();
    std::string text = StrPrintf(SJ("%d : %s  移動コスト %d").c_str(), chip + 1, land->m_Name.c_str(), land->m_nMoveCost);
    if (land->m_bImpassable)
        text += SJ("  通行不可");
    return text;
}
