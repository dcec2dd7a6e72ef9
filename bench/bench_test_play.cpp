// Speed of finding the game program among 100 large executables: 20 MB each,
// sparse, with their section tables at the end as linkers place them; only the
// last by name carries the marker.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/test_play.h"
#include "project/settings.h"

namespace {

constexpr uint64_t kFileSize = 20ull << 20;

// A 64-bit little-endian ELF file of kFileSize bytes with a section table of
// 30 entries at its end; the marker section holds "x", then game.
void WriteProgram(const std::string& path, const char* game)
{
    std::vector<uint8_t> tail;
    std::string names(1, '\0');
    std::vector<std::string> sectionNames;
    for (int i = 0; i < 28; ++i)
        sectionNames.push_back(".sec" + std::to_string(i));
    sectionNames.push_back(".vantor.strings");
    std::vector<uint32_t> nameAt;
    for (const auto& n : sectionNames) {
        nameAt.push_back(static_cast<uint32_t>(names.size()));
        names += n + '\0';
    }
    const uint32_t shstrName = static_cast<uint32_t>(names.size());
    names += std::string(".shstrtab") + '\0';
    std::string marker = std::string("x") + '\0' + game + '\0';
    const uint64_t count = sectionNames.size() + 2;
    const uint64_t tableAt = kFileSize - count * 64;
    const uint64_t namesAt = tableAt - names.size();
    const uint64_t markerAt = namesAt - marker.size();

    int fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0755);
    if (fd < 0)
        return;
    uint8_t h[64] = {0x7f, 'E', 'L', 'F', 2, 1, 1};
    auto put = [](uint8_t* p, uint64_t v, int w) { for (int i = 0; i < w; ++i) p[i] = uint8_t(v >> (8 * i)); };
    put(h + 0x28, tableAt, 8);
    put(h + 0x3A, 64, 2);
    put(h + 0x3C, count, 2);
    put(h + 0x3E, count - 1, 2);
    pwrite(fd, h, sizeof h, 0);
    std::vector<uint8_t> table(count * 64);
    for (uint64_t i = 1; i < count; ++i) {
        uint8_t* e = table.data() + i * 64;
        bool isNames = i == count - 1, isMarker = i == count - 2;
        put(e, isNames ? shstrName : nameAt[i - 1], 4);
        put(e + 4, isNames ? 3 : 1, 4);
        put(e + 0x18, isNames ? namesAt : isMarker ? markerAt : 4096 * i, 8);
        put(e + 0x20, isNames ? names.size() : isMarker ? marker.size() : 4096, 8);
    }
    pwrite(fd, marker.data(), marker.size(), static_cast<off_t>(markerAt));
    pwrite(fd, names.data(), names.size(), static_cast<off_t>(namesAt));
    pwrite(fd, table.data(), table.size(), static_cast<off_t>(tableAt));
    close(fd);
}

struct Folder {
    Folder()
    {
        namespace fs = std::filesystem;
        old = fs::current_path();
        path = fs::temp_directory_path() / "vantor-bench-testplay";
        fs::create_directories(path);
        fs::current_path(path);
        char name[32];
        for (int i = 0; i < 100; ++i) {
            std::snprintf(name, sizeof name, "program%03d", i);
            WriteProgram(name, i == 99 ? "GAME" : "TOOL");
        }
    }
    ~Folder()
    {
        std::error_code ec;
        std::filesystem::current_path(old, ec);
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path old, path;
};

void BM_FindGameProgram(benchmark::State& state)
{
    Folder folder;
    cTestPlay settings;
    settings.m_bAutoFind = 1;
    std::string found;
    for (auto _ : state) {
        bool ok = FindGameProgram(settings, found);
        benchmark::DoNotOptimize(ok);
    }
    if (found != "program099")
        state.SkipWithError("wrong program found");
}
BENCHMARK(BM_FindGameProgram)->Unit(benchmark::kMillisecond);

}  // namespace
