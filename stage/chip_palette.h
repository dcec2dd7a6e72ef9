// The geometry of a chip palette: chips drawn 32 x 32, eight to a row, the
// first visible row scrolled by a vertical scroll bar. The stage's chip palette
// and the world map's chip palette share it.
#pragma once

#include <string>

class cLand;

inline constexpr int kPaletteColumns = 8;
inline constexpr int kPaletteCell = 32;
// At most this many rows are drawn, whatever the window's height.
inline constexpr int kPaletteDrawRows = 32;

// Rows of chips: (count - 1) div 8 + 1, at least 1.
int PaletteRows(int chipCount);

// The chip under a client pixel with the palette scrolled to firstRow; the
// number is not compared with the chip count (the caller decides). -1 left of,
// above or right of the eight columns.
int PaletteChipAt(int x, int y, int firstRow);

// Where chip n lies in the client area scrolled to firstRow (may be outside).
void PaletteChipPos(int chip, int firstRow, int& x, int& y);

// The picture of image number n in an eight-wide sheet of 32 x 32 cells.
void ChipSheetPos(int image, int& x, int& y);

// The client height the palette wants (rows x 32), cut so that a window whose
// client starts at clientTop, with frameBottom pixels of frame below it, ends
// at the work area's bottom; at least one row.
int PaletteClientHeight(int chipCount, int clientTop, int frameBottom, int workBottom);

// The scroll bar of a client height: positions 0 .. rows - page (a widget's
// maximum, where the page is not part of the range), page = height / 32.
struct PaletteScroll {
    int maximum = 0;
    int page = 1;
};
PaletteScroll PaletteScrollRange(int chipCount, int clientHeight);

// The status text of the selected chip: "%d : %s" with number + 1 and name, or
// empty when the number is not a chip (CP932).
std::string ChipStatusText(int chip, int chipCount, const std::string& name);
// The hover text of a chip: number, name, movement cost and "通行不可" for an
// impassable chip; empty beyond the chip count (CP932).
std::string ChipHoverText(int chip, int chipCount, const cLand* land);
