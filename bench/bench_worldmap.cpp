// Speed of a full redraw of the largest world map and of one undo snapshot of
// it, beside plain copies of the same bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>

#include "stage/map_render.h"
#include "stage/world_edit.h"

namespace {

struct BigWorld {
    BigWorld()
    {
        map.m_Chips.clear();
        map.m_Chips.resize(64);
        for (int i = 0; i < 64; ++i)
            map.m_Chips[i].m_nGraphic = i;
        map.ResizeWorldMap(kWorldMaxWidth, kWorldMaxHeight);
        for (int y = 0; y < kWorldMaxHeight; ++y)
            for (int x = 0; x < kWorldMaxWidth; ++x)
                map.SetCell(x, y, (x * 7 + y * 3) % 64);
        for (int i = 0; i < 500; ++i) {
            cWorldEvent e;
            e.m_Pages.resize(2);
            e.m_Pages[0].m_nGraphic = i % 64;
            PlaceEvent(map.m_Events, e, i % 50 + 2, i / 50 * 3 + 1);  // all of them in view
        }
        CreateSurface(chips, 256, 256, 24, 0);
        CreateSurface(events, 256, 256, 24, 1);
        scene.map = &map;
        scene.chips = &chips;
        scene.events = &events;
    }
    cWorldMap map;
    Surface chips, events;
    WorldScene scene;
};

void BM_WorldRedrawFullView(benchmark::State& state)
{
    auto big = std::make_unique<BigWorld>();
    Surface view;
    CreateSurface(view, 1920, 1080, 24, 0);
    MapCursor cursor;
    cursor.brushW = 3;
    for (auto _ : state) {
        RenderWorldMap(view, big->scene, 0, 0, cursor);
        benchmark::DoNotOptimize(view.Row(0));
    }
    state.counters["events"] = big->map.m_Events.size();
}
BENCHMARK(BM_WorldRedrawFullView)->Unit(benchmark::kMillisecond);

// The floor under a redraw: copying a whole 1920 x 1080 view once.
void BM_PlainViewCopy(benchmark::State& state)
{
    Surface from, to;
    CreateSurface(from, 1920, 1080, 24, 0);
    CreateSurface(to, 1920, 1080, 24, 0);
    for (auto _ : state) {
        for (int y = 0; y < 1080; ++y)
            std::memcpy(to.Row(y), from.Row(y), 1920 * sizeof(uint32_t));
        benchmark::DoNotOptimize(to.Row(0));
    }
}
BENCHMARK(BM_PlainViewCopy)->Unit(benchmark::kMillisecond);

void BM_WorldUndoSnapshot(benchmark::State& state)
{
    auto big = std::make_unique<BigWorld>();
    WorldUndoHistory history([] { return ~0ull; });
    history.SetDepthLimit(3);
    for (auto _ : state)
        benchmark::DoNotOptimize(history.PushUndo(big->map));
}
BENCHMARK(BM_WorldUndoSnapshot)->Unit(benchmark::kMicrosecond);

// The floor under a snapshot: copying the grid alone.
void BM_PlainGridCopy(benchmark::State& state)
{
    auto big = std::make_unique<BigWorld>();
    for (auto _ : state) {
        std::vector<int32_t> copy = big->map.m_Map;
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_PlainGridCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
