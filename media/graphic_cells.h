// The picture chooser's sheets: which working sheet a picture kind shows, its
// cell size, and how a pixel of the sheet maps to the stored picture number.
#pragma once

// Kinds: 0 character graphics (48 x 48, numbered down the columns of 10),
// 1 effects (64 x 64, columns of 8), 2 land chips (32 x 32, rows of 8, the
// right half numbered from 128), 3 event pictures (32 x 32, columns of 16),
// 4 world chips (32 x 32, rows of 8; nothing right of the eighth column).
inline constexpr int kGraphicKindCount = 5;

struct GraphicCell {
    int x = 0, y = 0, width = 0, height = 0;   // sheet pixels
};

// The sheet (an image table row) shown for a kind; -1 for an unknown kind.
int GraphicSheet(int kind);

// Cell edge in pixels (square cells); 0 for an unknown kind.
int GraphicCellSize(int kind);

// The picture number of the cell holding sheet pixel (x, y), the scroll offset
// already added; -1 for an unknown kind or a negative pixel.
int GraphicCellAt(int kind, int x, int y);

// The sheet rectangle of a picture number (the inverse of GraphicCellAt);
// an empty cell for an unknown kind or a negative number.
GraphicCell GraphicCellRect(int kind, int number);
