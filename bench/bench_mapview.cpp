// Speed of a full redraw of the stage map and of one undo snapshot, on the
// largest stage with many enemies and events.
#include <benchmark/benchmark.h>

#include <memory>

#include "stage/stage.h"
#include "app/editor_state.h"
#include "stage/map_render.h"

namespace {

struct BigStage {
    BigStage()
    {
        stage.ResizeMap(64, 64);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                stage.SetCell(x, y, (x * 7 + y * 3) % 32);
        for (int i = 0; i < 200; ++i) {
            cPutEnemy& e = stage.m_PutEnemy.emplace_back();
            e.m_nEnemy = 1 + i % 40;
            e.m_nX = (i * 13) % 64;
            e.m_nY = (i * 7) % 64;
            e.m_MoveAI.resize(2);
        }
        for (int i = 0; i < 300; ++i) {
            cEvent& ev = stage.m_Events.emplace_back();
            ev.m_nX = (i * 11) % 64;
            ev.m_nY = (i * 17) % 64;
            ev.m_Pages[0].m_nGraphic = 1 + i % 100;
        }
        stage.m_GroupPos[0].m_Positions = {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {2, 2}, {3, 2}};
        CreateSurface(chips, 256, 1024, 24, 0);
        CreateSurface(chara, 640, 640, 24, 0);
        CreateSurface(events, 1024, 1024, 24, 1);
        CreateSurface(markers, 256, 256, 24, 1);
        scene.stage = &stage;
        for (int i = 0; i < 32; ++i)
            scene.chipImages.push_back(i);
        scene.enemyPattern = [](int enemy) { return enemy % 160; };
        scene.art = {&chips, &chara, &events, &markers, std::nullopt};
    }
    cStage stage;
    Surface chips, chara, events, markers;
    MapScene scene;
};

void BM_RedrawFullView(benchmark::State& state)
{
    auto big = std::make_unique<BigStage>();
    Surface view;
    CreateSurface(view, 1920, 1080, 24, 0);
    MapCursor cursor;
    cursor.brushW = 3;
    for (auto _ : state) {
        RenderMap(view, big->scene, 2, 3, cursor);
        benchmark::DoNotOptimize(view.Row(0));
    }
}
BENCHMARK(BM_RedrawFullView)->Unit(benchmark::kMillisecond);

void BM_UndoSnapshot(benchmark::State& state)
{
    auto big = std::make_unique<BigStage>();
    UndoHistory history([] { return ~0ull; });
    history.SetDepthLimit(3);
    MapLayers layers = StageLayers(big->stage);
    for (auto _ : state)
        benchmark::DoNotOptimize(history.PushUndo(layers));
}
BENCHMARK(BM_UndoSnapshot)->Unit(benchmark::kMicrosecond);

}  // namespace
