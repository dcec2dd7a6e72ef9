#include "stage/map_edit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "base/log.h"

#if defined(__linux__)
#include <sys/sysinfo.h>
#endif

namespace {

int Wrap(int value, int count) { return ((value % count) + count) % count; }

}  // namespace

int MapLayers::EnemyAt(int x, int y) const
{
    if (!enemies)
        return -1;
    for (int i = 0; i < enemies->size(); ++i) {
        const cPutEnemy& e = (*enemies)[i];
        if (e.IsPlaced() && e.m_nX == x && e.m_nY == y)
            return i;
    }
    return -1;
}

void StampChips(MapLayers& map, const Brush& brush, int x, int y, int chipCount)
{
    for (int by = 0; by < brush.height; ++by)
        for (int bx = 0; bx < brush.width; ++bx) {
            int cx = x + bx, cy = y + by;
            int32_t chip = brush.chip[by][bx];
            if (map.Inside(cx, cy) && ValidChip(chip, chipCount))
                map.Chip(cx, cy) = chip;
        }
}

void StampEnemies(MapLayers& map, const Brush& brush, int x, int y)
{
    for (int by = 0; by < brush.height; ++by)
        for (int bx = 0; bx < brush.width; ++bx) {
            int cx = x + bx, cy = y + by;
            if (!map.Inside(cx, cy))
                continue;
            int standing = map.EnemyAt(cx, cy);
            if (standing >= 0)
                (*map.enemies)[standing].m_nX = -1;
            int moving = brush.enemy[by][bx];
            if (moving >= 0 && moving < map.enemies->size()) {
                cPutEnemy& e = (*map.enemies)[moving];
                e.m_nX = cx;
                e.m_nY = cy;
            }
        }
}

std::vector<CellPos> LineCells(int x0, int y0, int x1, int y1)
{
    std::vector<CellPos> cells;
    double px = x0 + 0.5, py = y0 + 0.5;
    bool finished = false;
    for (int n = 0; n < 200; ++n) {
        int cx = static_cast<int>(px), cy = static_cast<int>(py);
        cells.push_back({cx, cy});
        if (finished)
            break;
        // One step: up to ten sub-steps of 0.1 cell along the major axis, the
        // minor axis following by an error term, ending at the end cell.
        int dx = std::abs(x1 - cx), dy = std::abs(y1 - cy);
        bool xMajor = dy < dx;
        double sx = x1 < cx ? -0.1 : 0.1;
        double sy = y1 < cy ? -0.1 : 0.1;
        int major = xMajor ? dx : dy;
        int minor = xMajor ? dy : dx;
        int error = major / 2;
        for (int k = 0; k < 10; ++k) {
            error += minor;
            if (error >= major) {
                error -= major;
                if (xMajor)
                    py += sy;
                else
                    px += sx;
            }
            if (xMajor)
                px += sx;
            else
                py += sy;
            if (static_cast<int>(px) == x1 && static_cast<int>(py) == y1) {
                finished = true;
                break;
            }
        }
    }
    return cells;
}

void DrawLine(MapLayers& map, const Brush& brush, int x0, int y0, int x1, int y1, int chipCount)
{
    int column = 0;
    for (const CellPos& c : LineCells(x0, y0, x1, y1)) {
        int32_t chip = brush.chip[0][column];
        if (map.Inside(c.x, c.y) && ValidChip(chip, chipCount))
            map.Chip(c.x, c.y) = chip;
        column = (column + 1) % brush.width;
    }
}

void FillRectangle(MapLayers& map, const Brush& brush, int x0, int y0, int x1, int y1, int chipCount)
{
    int left = std::min(x0, x1), right = std::max(x0, x1);
    int top = std::min(y0, y1), bottom = std::max(y0, y1);
    int row = 0, column = 0;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            int32_t chip = brush.chip[row][column];
            if (map.Inside(x, y) && ValidChip(chip, chipCount))
                map.Chip(x, y) = chip;
            column = (column + 1) % brush.width;  // carried over to the next row
        }
        row = (row + 1) % brush.height;
    }
}

bool FloodFill(MapLayers& map, const Brush& brush, int x, int y, int chipCount)
{
    if (!map.Inside(x, y))
        return true;
    std::vector<uint8_t> visited;
    try {
        visited.assign(static_cast<std::size_t>(map.width) * static_cast<std::size_t>(map.height), 0);
    } catch (const std::bad_alloc&) {
        OutOfMemoryQuit();
        return false;
    }
    const int32_t target = map.Chip(x, y);

    // The visit of a cell paints it and then visits its neighbours left, right,
    // up and down, each to the end before the next. The explicit stack holds one
    // frame per pending visit with the neighbour it goes to next.
    struct Frame {
        int x, y, bx, by;
        int next;  // 0 left, 1 right, 2 up, 3 down, 4 done
    };
    std::vector<Frame> stack;
    stack.reserve(256);
    auto visit = [&](int cx, int cy, int bx, int by) {
        if (!map.Inside(cx, cy))
            return;
        uint8_t& seen = visited[static_cast<std::size_t>(cy) * map.width + cx];
        // The depth of this visit is the number of frames below it.
        if (seen || map.Chip(cx, cy) != target || static_cast<int>(stack.size()) >= kFillDepthLimit)
            return;
        seen = 1;
        int32_t chip = brush.chip[by][bx];
        if (ValidChip(chip, chipCount))
            map.Chip(cx, cy) = chip;
        stack.push_back({cx, cy, bx, by, 0});
    };
    visit(x, y, 0, 0);
    while (!stack.empty()) {
        Frame& f = stack.back();
        if (f.next == 4) {
            stack.pop_back();
            continue;
        }
        Frame here = f;
        ++f.next;
        switch (here.next) {
        case 0: visit(here.x - 1, here.y, Wrap(here.bx - 1, brush.width), here.by); break;
        case 1: visit(here.x + 1, here.y, Wrap(here.bx + 1, brush.width), here.by); break;
        case 2: visit(here.x, here.y - 1, here.bx, Wrap(here.by - 1, brush.height)); break;
        case 3: visit(here.x, here.y + 1, here.bx, Wrap(here.by + 1, brush.height)); break;
        }
    }
    return true;
}

void PickUp(const MapLayers& map, Brush& brush, PaletteMode mode, int x0, int y0, int x1, int y1)
{
    int left = std::min(x0, x1), top = std::min(y0, y1);
    brush.width = std::clamp(std::abs(x1 - x0) + 1, 1, brush.MaxWidth());
    brush.height = std::clamp(std::abs(y1 - y0) + 1, 1, brush.MaxHeight());
    for (int by = 0; by < brush.height; ++by)
        for (int bx = 0; bx < brush.width; ++bx) {
            int cx = left + bx, cy = top + by;
            if (mode == PaletteMode::Chips)
                brush.chip[by][bx] = map.Inside(cx, cy) ? map.Chip(cx, cy) : 0;
            else if (mode == PaletteMode::Enemies && brush.enemy.Columns() > 0)
                brush.enemy[by][bx] = map.Inside(cx, cy) ? map.EnemyAt(cx, cy) : -1;
        }
}

cEvent& PlaceEvent(MapLayers& map, const cEvent& event, int x, int y) { return PlaceEvent(*map.events, event, x, y); }

// ---------------------------------------------------------------------------

unsigned long long MapSnapshot::SizeOf(const MapLayers& map)
{
    unsigned long long size = map.chips->size() * sizeof(int32_t);
    for (const cPutEnemy& e : *map.enemies)
        size += 56 + 24ull * static_cast<unsigned long long>(e.m_MoveAI.size());
    for (const cEvent& e : *map.events)
        size += 80 + 24ull * static_cast<unsigned long long>(e.m_Pages.size());
    return size;
}

unsigned long long FreePhysicalMemory()
{
#if defined(__linux__)
    // MemAvailable is what can be had without swapping; sysinfo as a fallback.
    if (std::FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        unsigned long long kb = 0;
        bool found = false;
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
                found = true;
                break;
            }
        std::fclose(f);
        if (found)
            return kb * 1024ull;
    }
    struct sysinfo info;
    if (sysinfo(&info) == 0)
        return static_cast<unsigned long long>(info.freeram) * info.mem_unit;
#endif
    return ~0ull;
}
