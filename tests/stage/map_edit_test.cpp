#include "stage/map_edit.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// A map drawn as text: one character per cell, '0'-'9' the chip number.
struct TestMap {
    explicit TestMap(std::vector<std::string> rows)
    {
        layers.height = static_cast<int>(rows.size());
        layers.width = static_cast<int>(rows[0].size());
        layers.pitchBits = 0;
        while ((1 << layers.pitchBits) <= layers.width)
            ++layers.pitchBits;
        chips.assign(static_cast<std::size_t>(layers.height) << layers.pitchBits, 0);
        layers.chips = &chips;
        layers.enemies = &enemies;
        layers.events = &events;
        for (int y = 0; y < layers.height; ++y)
            for (int x = 0; x < layers.width; ++x)
                layers.Chip(x, y) = rows[y][x] - '0';
    }
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int y = 0; y < layers.height; ++y) {
            std::string row;
            for (int x = 0; x < layers.width; ++x)
                row += static_cast<char>('0' + layers.Chip(x, y));
            rows.push_back(row);
        }
        return rows;
    }
    std::vector<int32_t> chips;
    RecordList<cPutEnemy> enemies;
    RecordList<cEvent> events;
    MapLayers layers;
};

Brush ChipBrush(std::vector<std::vector<int32_t>> rows)
{
    Brush b;
    b.height = static_cast<int>(rows.size());
    b.width = static_cast<int>(rows[0].size());
    for (int y = 0; y < b.height; ++y)
        for (int x = 0; x < b.width; ++x)
            b.chip[y][x] = rows[y][x];
    return b;
}

using Rows = std::vector<std::string>;

// The fill as a plain recursive function, to hold the tool against.
void ReferenceFill(TestMap& m, std::vector<uint8_t>& seen, const Brush& b, int target, int x, int y, int bx, int by,
                   int depth, int chipCount)
{
    if (!m.layers.Inside(x, y))
        return;
    uint8_t& s = seen[static_cast<std::size_t>(y) * m.layers.width + x];
    if (s || m.layers.Chip(x, y) != target || depth >= kFillDepthLimit)
        return;
    s = 1;
    if (ValidChip(b.chip[by][bx], chipCount))
        m.layers.Chip(x, y) = b.chip[by][bx];
    auto wrap = [](int v, int n) { return ((v % n) + n) % n; };
    ReferenceFill(m, seen, b, target, x - 1, y, wrap(bx - 1, b.width), by, depth + 1, chipCount);
    ReferenceFill(m, seen, b, target, x + 1, y, wrap(bx + 1, b.width), by, depth + 1, chipCount);
    ReferenceFill(m, seen, b, target, x, y - 1, bx, wrap(by - 1, b.height), depth + 1, chipCount);
    ReferenceFill(m, seen, b, target, x, y + 1, bx, wrap(by + 1, b.height), depth + 1, chipCount);
}

}  // namespace

TEST(PenTools, NormalStampClipsAndSkipsInvalidChips)
{
    TestMap m({"0000", "0000", "0000"});
    StampChips(m.layers, ChipBrush({{1, 9}, {2, 3}}), 3, 1, 5);  // 9 is not a chip; the right column is off the map
    EXPECT_EQ(m.Rows(), (Rows{"0000", "0001", "0002"}));
    StampChips(m.layers, ChipBrush({{7}}), 0, 0, 5);
    EXPECT_EQ(m.Rows(), (Rows{"0000", "0001", "0002"})) << "an invalid first chip paints nothing";
}

TEST(PenTools, LineWalksCellByCellAndCyclesTheBrushColumns)
{
    TestMap m({"000000000", "000000000"});
    DrawLine(m.layers, ChipBrush({{1, 2, 3}}), 0, 0, 8, 0, 9);
    EXPECT_EQ(m.Rows(), (Rows{"123123123", "000000000"}));

    // Every line starts at its start cell, ends at its end cell and moves to a
    // neighbouring cell at each pass.
    for (auto [x0, y0, x1, y1] : std::vector<std::array<int, 4>>{
             {0, 0, 2, 0}, {0, 0, 0, 5}, {0, 0, 7, 3}, {10, 10, 2, 4}, {5, 5, 5, 5}, {0, 63, 63, 0}, {3, 0, 4, 40}}) {
        std::vector<CellPos> cells = LineCells(x0, y0, x1, y1);
        ASSERT_FALSE(cells.empty());
        EXPECT_EQ(cells.front().x, x0);
        EXPECT_EQ(cells.front().y, y0);
        EXPECT_EQ(cells.back().x, x1);
        EXPECT_EQ(cells.back().y, y1);
        EXPECT_LE(cells.size(), 200u);
        for (std::size_t i = 1; i < cells.size(); ++i) {
            EXPECT_LE(std::abs(cells[i].x - cells[i - 1].x), 1);
            EXPECT_LE(std::abs(cells[i].y - cells[i - 1].y), 1);
        }
    }
    EXPECT_EQ(LineCells(0, 0, 2, 0).size(), 3u);
    // A one-cell line paints its cell in two passes.
    EXPECT_EQ(LineCells(4, 4, 4, 4).size(), 2u);
}

TEST(PenTools, RectangleCarriesBrushColumnsAcrossRows)
{
    TestMap m({"0000", "0000", "0000"});
    // A 2-wide rectangle with a 3-wide brush: the second row starts at brush column 2.
    FillRectangle(m.layers, ChipBrush({{1, 2, 3}, {4, 5, 6}}), 1, 1, 0, 0, 9);
    EXPECT_EQ(m.Rows(), (Rows{"1200", "6400", "0000"}));
    // Clipped to the map, rows and columns still advance off the map.
    TestMap n({"000", "000"});
    FillRectangle(n.layers, ChipBrush({{1, 2}}), 2, 0, 3, 1, 9);
    EXPECT_EQ(n.Rows(), (Rows{"001", "001"}));
}

TEST(PenTools, FillTilesTheBrushFromTheClickedCell)
{
    TestMap m({"0001", "0010", "0100"});
    ASSERT_TRUE(FloodFill(m.layers, ChipBrush({{2, 3}}), 1, 0, 9));
    // Columns alternate 2, 3 starting with 2 at the clicked column 1.
    EXPECT_EQ(m.Rows(), (Rows{"3231", "3210", "3100"}));

    // Filling with the region's own chip visits each cell once and ends.
    TestMap same({"000", "000"});
    ASSERT_TRUE(FloodFill(same.layers, ChipBrush({{0}}), 0, 0, 9));
    EXPECT_EQ(same.Rows(), (Rows{"000", "000"}));
}

TEST(PenTools, FillMatchesTheRecursiveRuleIncludingTheDepthBound)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 6; ++round) {
        int w = round < 3 ? 20 : 120, h = round < 3 ? 15 : 100;
        std::vector<std::string> rows(h, std::string(w, '0'));
        for (auto& row : rows)
            for (char& c : row)
                c = (rng() % 5 == 0) ? '1' : '0';
        TestMap a(rows), b(rows);
        Brush brush = ChipBrush({{2, 3, 4}, {5, 6, 7}});
        int x = w / 2, y = h / 2;
        a.layers.Chip(x, y) = 0;
        b.layers.Chip(x, y) = 0;
        ASSERT_TRUE(FloodFill(a.layers, brush, x, y, 9));
        std::vector<uint8_t> seen(static_cast<std::size_t>(w) * h, 0);
        ReferenceFill(b, seen, brush, 0, x, y, 0, 0, 0, 9);
        EXPECT_EQ(a.Rows(), b.Rows()) << "round " << round;
    }
    // An open 120 x 100 map is deeper than the bound: some cells stay unfilled.
    TestMap open(std::vector<std::string>(100, std::string(120, '0')));
    ASSERT_TRUE(FloodFill(open.layers, ChipBrush({{1}}), 60, 50, 9));
    int unfilled = 0;
    for (const std::string& row : open.Rows())
        unfilled += static_cast<int>(std::count(row.begin(), row.end(), '0'));
    EXPECT_GT(unfilled, 0);
}

TEST(PickUpAndEnemies, PickUpInBothModesAndMovingOntoAnOccupiedCell)
{
    TestMap m({"1234", "5678"});
    Brush brush;
    PickUp(m.layers, brush, PaletteMode::Chips, 3, 1, 2, 0);
    EXPECT_EQ(brush.width, 2);
    EXPECT_EQ(brush.height, 2);
    EXPECT_EQ(brush.chip[0][0], 3);
    EXPECT_EQ(brush.chip[1][1], 8);

    for (int i = 0; i < 3; ++i) {
        cPutEnemy& e = m.enemies.emplace_back();
        e.m_nEnemy = i + 1;
        e.m_nX = i;
        e.m_nY = 0;
    }
    m.enemies[2].m_nX = -1;  // not placed
    PickUp(m.layers, brush, PaletteMode::Enemies, 0, 0, 2, 0);
    EXPECT_EQ(brush.width, 3);
    EXPECT_EQ(brush.enemy[0][0], 0);
    EXPECT_EQ(brush.enemy[0][1], 1);
    EXPECT_EQ(brush.enemy[0][2], -1);

    // Enemy 0 moves onto enemy 1's cell: enemy 1 leaves the map.
    Brush one;
    one.enemy[0][0] = 0;
    StampEnemies(m.layers, one, 1, 0);
    EXPECT_EQ(m.enemies[0].m_nX, 1);
    EXPECT_EQ(m.enemies[1].m_nX, -1);
    // A brush cell naming no enemy only clears the cell.
    Brush none;
    StampEnemies(m.layers, none, 1, 0);
    EXPECT_EQ(m.enemies[0].m_nX, -1);
}

TEST(Undo, DepthLimitRedoAndRefusedSnapshots)
{
    unsigned long long freeMemory = 1ull << 30;
    UndoHistory history([&] { return freeMemory; });
    history.SetDepthLimit(3);
    TestMap m({"00"});
    for (int step = 1; step <= 5; ++step) {
        ASSERT_TRUE(history.PushUndo(m.layers));
        m.layers.Chip(0, 0) = step;
    }
    EXPECT_EQ(history.UndoCount(), 3) << "the oldest steps are dropped";
    ASSERT_TRUE(history.Undo(m.layers));
    EXPECT_EQ(m.layers.Chip(0, 0), 4);
    m.events.emplace_back();
    ASSERT_TRUE(history.Undo(m.layers));
    EXPECT_EQ(m.layers.Chip(0, 0), 3);
    EXPECT_EQ(m.events.size(), 0) << "events are part of the snapshot";
    ASSERT_TRUE(history.Redo(m.layers));
    EXPECT_EQ(m.layers.Chip(0, 0), 4);
    EXPECT_EQ(m.events.size(), 1);
    ASSERT_TRUE(history.Redo(m.layers));
    EXPECT_EQ(m.layers.Chip(0, 0), 5);
    EXPECT_EQ(m.events.size(), 0);
    EXPECT_FALSE(history.Redo(m.layers));
    m.events.emplace_back();

    // A new edit empties the redo history.
    ASSERT_TRUE(history.Undo(m.layers));
    ASSERT_TRUE(history.PushUndo(m.layers));
    EXPECT_FALSE(history.CanRedo());

    // Too little memory: both histories are emptied and the step is refused.
    freeMemory = UndoHistory::SnapshotSize(m.layers);
    EXPECT_FALSE(history.PushUndo(m.layers));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo(m.layers));
    // Map bytes, 80 per event and 24 per page (a new event has one page).
    EXPECT_EQ(UndoHistory::SnapshotSize(m.layers), m.chips.size() * 4 + 80 + 24u);
}
