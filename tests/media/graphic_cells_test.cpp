#include "media/graphic_cells.h"

#include <gtest/gtest.h>

#include "media/image_table.h"

namespace {

TEST(GraphicCells, NumbersAtCellBordersForEachKind)
{
    struct Case { int kind, x, y, number; };
    const Case cases[] = {
        // Characters: columns of ten 48-pixel cells.
        {0, 0, 0, 0}, {0, 47, 47, 0}, {0, 0, 48, 1}, {0, 48, 0, 10}, {0, 95, 479, 19},
        // Effects: columns of eight 64-pixel cells.
        {1, 63, 0, 0}, {1, 64, 0, 8}, {1, 0, 64, 1}, {1, 130, 200, 19},
        // Land chips: rows of eight, the right block from 128 (at 256, not 255).
        {2, 31, 0, 0}, {2, 32, 0, 1}, {2, 0, 32, 8}, {2, 255, 0, 7}, {2, 256, 0, 128},
        {2, 300, 40, 137}, {2, 511, 511, 255},
        // Event pictures: columns of sixteen.
        {3, 0, 31, 0}, {3, 0, 32, 1}, {3, 32, 0, 16}, {3, 100, 100, 51},
        // World chips: rows of eight down the whole sheet, nothing to their right.
        {4, 255, 0, 7}, {4, 0, 32, 8}, {4, 40, 1023, 249}, {4, 256, 0, -1}, {4, 300, 600, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GraphicCellAt(c.kind, c.x, c.y), c.number) << c.kind << " at " << c.x << "," << c.y;
    EXPECT_EQ(GraphicCellAt(kGraphicKindCount, 0, 0), -1);
    EXPECT_EQ(GraphicCellAt(0, -1, 0), -1);
}

TEST(GraphicCells, RectangleIsTheInverseOfTheNumbering)
{
    for (int kind = 0; kind < kGraphicKindCount; ++kind) {
        EXPECT_EQ(GraphicCellRect(kind, 0).width, GraphicCellSize(kind));
        for (int n = 0; n < 256; ++n) {
            GraphicCell r = GraphicCellRect(kind, n);
            EXPECT_EQ(GraphicCellAt(kind, r.x, r.y), n) << kind << " " << n;
            EXPECT_EQ(GraphicCellAt(kind, r.x + r.width - 1, r.y + r.height - 1), n) << kind << " " << n;
        }
    }
    EXPECT_EQ(GraphicSheet(2), IMG_SHEET_LAND);
    EXPECT_EQ(GraphicSheet(4), IMG_WORLDMAPCHIP);
    EXPECT_EQ(GraphicCellRect(9, 1).width, 0);
}

}  // namespace
