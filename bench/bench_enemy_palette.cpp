// Speed of the enemy palette's refresh after one stamp on the map (what each
// mouse move of a drag costs): 999 placements read again from the stage, their
// lines made and compared with the lines shown, beside a plain copy of the
// placements.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "app/enemy_palette.h"
#include "project/project.h"

namespace {

struct BigPalette {
    BigPalette()
    {
        p.m_Stage.ResizeMap(64, 64);
        p.m_Enemies.resize(100);
        for (int i = 0; i < p.m_Enemies.size(); ++i) {
            p.m_Enemies[i].m_Name = "Enemy" + std::to_string(i);
            p.m_Enemies[i].m_nLevel = i % 99 + 1;
        }
        for (int i = 0; i < kMaxPlacements; ++i) {
            cPutEnemy& e = p.m_Stage.m_PutEnemy.emplace_back();
            e.m_nEnemy = 1 + i % 99;
            e.m_nX = i < 4096 ? i % 64 : -1;
            e.m_nY = i / 64;
            e.m_bGroup = i % 3 == 0;
            e.m_nGroup = i % 100 + 1;
            e.m_MoveAI.resize(2);
        }
        SetUpEnemyList(list, p);
        list.Load(p.m_Stage.m_PutEnemy.items());
        shown = list.Lines();
        brush.enemy[0][0] = 500;
    }
    Project p;
    ListModel<cPutEnemy> list;
    std::vector<std::string> shown;
    Brush brush;
};

void BM_RefreshAfterStamp(benchmark::State& state)
{
    BigPalette b;
    MapLayers map = StageLayers(b.p.m_Stage);
    int step = 0;
    for (auto _ : state) {
        StampEnemies(map, b.brush, step % 64, 20 + step % 2);
        ++step;
        b.list.Load(b.p.m_Stage.m_PutEnemy.items());
        std::vector<std::string> lines = b.list.Lines();
        int changed = 0;
        for (std::size_t i = 0; i < lines.size(); ++i)
            changed += lines[i] != b.shown[i];
        b.shown.swap(lines);
        benchmark::DoNotOptimize(changed);
    }
}
BENCHMARK(BM_RefreshAfterStamp)->Unit(benchmark::kMicrosecond);

// The plain copy of the same placements, for comparison.
void BM_PlainCopyOfPlacements(benchmark::State& state)
{
    BigPalette b;
    for (auto _ : state) {
        std::vector<cPutEnemy> copy = b.p.m_Stage.m_PutEnemy.items();
        benchmark::DoNotOptimize(copy.data());
    }
}
BENCHMARK(BM_PlainCopyOfPlacements)->Unit(benchmark::kMicrosecond);

}  // namespace
