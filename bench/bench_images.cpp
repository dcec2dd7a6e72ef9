// Speed of the project's image load and of masked drawing.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/log.h"
#include "base/paths.h"
#include "media/image_table.h"
#include "media/surface.h"
#include "tests/media/image_files.h"

namespace {

class QuietSink : public MessageSink {
public:
    Answer Box(const std::string&, const std::string&, Buttons) override { return Answer::Ok; }
};

// Pixels with a little of everything: noise, and every seventh pixel the key.
Pixels Noise(int w, int h, uint32_t seed)
{
    Pixels px(static_cast<std::size_t>(w) * h);
    uint32_t v = seed;
    for (std::size_t i = 0; i < px.size(); ++i) {
        v = v * 1664525u + 1013904223u;
        px[i] = i % 7 == 0 ? 0xFFFF00FFu : (0xFF000000u | (v >> 8));
    }
    return px;
}

// A project folder with every image of the table at the size a real project has,
// required ones as PNG, the colour variants as BMP.
class ImageSet {
public:
    ImageSet()
    {
        namespace fs = std::filesystem;
        old_ = fs::current_path();
        std::string pattern = (fs::temp_directory_path() / "vantor-bench-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
        fs::current_path(dir_);
        struct File {
            const char* name;
            int w, h;
        } files[] = {
            {"MapChip", 256, 1024}, {"MapChara", 256, 256}, {"Event", 1024, 1024}, {"WorldBack", 1600, 1200},
            {"WorldMapChip", 256, 512}, {"WorldEvent", 512, 512}, {"Symbol", 512, 512}, {"Accessory", 512, 512},
        };
        uint32_t seed = 1;
        for (const File& f : files)
            WritePng(std::string("image/") + f.name + ".png", f.w, f.h, Noise(f.w, f.h, seed++));
        for (int i = 1; i <= 8; ++i) {
            WritePng("image/Character" + std::to_string(i) + ".png", 640, 640, Noise(640, 640, seed++));
            WriteBmp("image/Character" + std::to_string(i) + "_color.bmp",
                     MakeBmp(640, 640, 24, Noise(640, 640, seed++)));
            WritePng("image/Effect" + std::to_string(i) + ".png", 640, 512, Noise(640, 512, seed++),
                     PNG_FORMAT_RGBA);
        }
    }
    ~ImageSet()
    {
        std::error_code ec;
        std::filesystem::current_path(old_, ec);
        std::filesystem::remove_all(dir_, ec);
    }

private:
    std::filesystem::path old_;
    std::filesystem::path dir_;
};

void BM_LoadProjectImages(benchmark::State& state)
{
    QuietSink sink;
    MessageSink* old = SetMessageSink(&sink);
    SetColorKey(Rgb{255, 0, 255});
    ImageSet set;
    for (auto _ : state) {
        if (!LoadProjectImages("image\\WorldBack.*"))
            state.SkipWithError("the image set did not load");
    }
    ResetImages();
    SetMessageSink(old);
}
BENCHMARK(BM_LoadProjectImages)->Unit(benchmark::kMillisecond);

// 2000 masked 32 x 32 cells from a 256 x 256 sheet onto a full-HD surface, some
// of them hanging over the edges.
void BM_DrawMaskedCells(benchmark::State& state)
{
    SetColorKey(Rgb{255, 0, 255});
    Surface sheet, target;
    CreateSurface(sheet, 256, 256, 24, 1);
    Pixels px = Noise(256, 256, 7);
    for (int y = 0; y < 256; ++y)
        std::copy_n(px.data() + y * 256, 256, sheet.Row(y));
    ApplyMaskAndKey(sheet, "sheet");
    CreateSurface(target, 1920, 1080, 24, 0);
    FillSurface(target, Rgb{0, 64, 0});

    struct Draw {
        int x, y, sx, sy;
    };
    std::vector<Draw> draws;
    uint32_t v = 12345;
    for (int i = 0; i < 2000; ++i) {
        v = v * 1664525u + 1013904223u;
        draws.push_back({int(v % 1950) - 16, int((v >> 11) % 1110) - 16, int((v >> 3) % 8) * 32, int((v >> 7) % 8) * 32});
    }
    for (auto _ : state) {
        for (const Draw& d : draws)
            DrawSurface(target, d.x, d.y, 32, 32, sheet, d.sx, d.sy, 0);
        benchmark::DoNotOptimize(target.Bits());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2000);
}
BENCHMARK(BM_DrawMaskedCells)->Unit(benchmark::kMicrosecond);

}  // namespace


