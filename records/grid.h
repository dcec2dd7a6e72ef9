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
