// Cell grids stored row by row with a power-of-two row pitch: cell (x, y) is
// element (y << pitch bits) + x.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The rows and columns a grid really holds, at most the claimed size. A damaged
// file may claim a size (or pitch) its grid lacks; loops over cells use these.
inline int GridRows(const std::vector<int32_t>& grid, int pitchBits, int height)
{
    if (pitchBits < 0 || pitchBits > 30 || height <= 0)
        return 0;
    return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(height), grid.size() >> pitchBits));
}

inline int GridColumns(int pitchBits, int width)
{
    if (pitchBits < 0 || pitchBits > 30 || width <= 0)
        return 0;
    return std::min(width, 1 << pitchBits);
}

// Cell (x, y), 0 for a cell the grid does not hold.
inline int32_t GridCell(const std::vector<int32_t>& grid, int pitchBits, int x, int y)
{
    if (x < 0 || y < 0 || pitchBits < 0 || pitchBits > 30)
        return 0;
    std::size_t i = (static_cast<std::size_t>(y) << pitchBits) + static_cast<std::size_t>(x);
    return i < grid.size() ? grid[i] : 0;
}

// Sets cell (x, y); a cell the grid does not hold is left alone.
inline void SetGridCell(std::vector<int32_t>& grid, int pitchBits, int x, int y, int32_t value)
{
    if (x < 0 || y < 0 || pitchBits < 0 || pitchBits > 30)
        return;
    std::size_t i = (static_cast<std::size_t>(y) << pitchBits) + static_cast<std::size_t>(x);
    if (i < grid.size())
        grid[i] = value;
}

// Lays the grid out again at a new size and row pitch: every cell becomes 0, then
// each old cell inside both sizes is copied to the same column and row.
inline void RelayGrid(std::vector<int32_t>& grid, int oldWidth, int oldHeight, int oldPitch, int width, int height,
                      int pitch)
{
    std::vector<int32_t> old;
    old.swap(grid);
    grid.assign(static_cast<std::size_t>(pitch) * static_cast<std::size_t>(std::max(height, 0)), 0);
    int rows = std::min(oldHeight, height), cols = std::min(oldWidth, width);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < cols; ++x) {
            std::size_t from = static_cast<std::size_t>(y) * static_cast<std::size_t>(oldPitch) + static_cast<std::size_t>(x);
            if (from < old.size())
                grid[static_cast<std::size_t>(y) * static_cast<std::size_t>(pitch) + static_cast<std::size_t>(x)] = old[from];
        }
}
