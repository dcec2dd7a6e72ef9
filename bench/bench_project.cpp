// Loading and saving a large project (every table large, a 64 x 64 stage with
// 200 placements and 300 events), beside reading and writing the same files'
// bytes plainly with fread/fwrite.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/heap.h"
#include "base/paths.h"
#include "base/text.h"
#include "events/action_kinds.h"
#include "project/default_project.h"
#include "base/host_file.h"
#include "project/project.h"
#include "big_project.h"

// The heap keeps what it gets back, as in the editor and the data tool.
[[maybe_unused]] static const bool kHeapKept = (KeepFreedHeapMemory(), true);

namespace fs = std::filesystem;

namespace {

int LoadAll()
{
    ResetProject();
    TheProject().m_EditConfig.LoadFile(ProjectFile::EditConfig);
    ProjectLoadOptions options;
    options.images = false;
    int ok = LoadProject(options);
    OpenRememberedStage();
    return ok;
}

int SaveAll()
{
    DurableSaveScope save;  // one save: each folder flushed once
    Project& p = TheProject();
    int ok = SaveDatabase();
    ok &= SaveSideFiles();
    ok &= p.m_Stage.SaveFile(kBigStage);
    return ok;
}

// The files a load reads (the records, the settings, the stage template and
// the big stage), host paths.
std::vector<std::string> ProjectFiles()
{
    std::vector<std::string> files;
    for (const char* folder : {"data", "e_data"})
        for (const auto& e : fs::recursive_directory_iterator(fs::path(Folder()) / folder)) {
            std::string name = e.path().filename().string();
            if (e.is_regular_file() && (e.path().extension() == ".dat" || name == "Big.stg2" || name == "Default.stg2"))
                files.push_back(e.path().string());
        }
    return files;
}

int64_t TotalBytes(const std::vector<std::string>& files)
{
    int64_t n = 0;
    for (const std::string& f : files)
        n += static_cast<int64_t>(fs::file_size(f));
    return n;
}

void BM_LoadProject(benchmark::State& state)
{
    Folder();
    for (auto _ : state)
        benchmark::DoNotOptimize(LoadAll());
    state.SetBytesProcessed(state.iterations() * TotalBytes(ProjectFiles()));
    state.counters["stageEvents"] = TheProject().m_Stage.m_Events.size();
    state.counters["enemies"] = TheProject().m_Enemies.size();
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);

// flush:1 is the save as the editor does it (every file flushed to the disk
// before its rename, each folder after); flush:0 skips the flushes, to show
// what they cost.
void BM_SaveProject(benchmark::State& state)
{
    Folder();
    LoadAll();
    SetDurableWrites(state.range(0) != 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveAll());
    SetDurableWrites(true);
    state.SetBytesProcessed(state.iterations() * TotalBytes(ProjectFiles()));
}
BENCHMARK(BM_SaveProject)->ArgName("flush")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

std::vector<std::vector<char>> ReadAll(const std::vector<std::string>& files)
{
    std::vector<std::vector<char>> out;
    for (const std::string& path : files) {
        std::vector<char>& bytes = out.emplace_back(fs::file_size(path));
        std::FILE* f = std::fopen(path.c_str(), "rb");
        if (!f)
            continue;
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    return out;
}

void BM_PlainFread(benchmark::State& state)
{
    std::vector<std::string> files = ProjectFiles();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAll(files));
    state.SetBytesProcessed(state.iterations() * TotalBytes(files));
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_PlainFread)->Unit(benchmark::kMillisecond);

void BM_PlainFwrite(benchmark::State& state)
{
    std::vector<std::string> files = ProjectFiles();
    std::vector<std::vector<char>> contents = ReadAll(files);
    fs::path out = fs::path(Folder()) / "plain";
    fs::create_directories(out);
    for (auto _ : state) {
        for (std::size_t i = 0; i < files.size(); ++i) {
            std::string path = (out / std::to_string(i)).string();
            std::FILE* w = std::fopen(path.c_str(), "wb");
            if (!w)
                continue;
            benchmark::DoNotOptimize(std::fwrite(contents[i].data(), 1, contents[i].size(), w));
            std::fclose(w);
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files));
}
BENCHMARK(BM_PlainFwrite)->Unit(benchmark::kMillisecond);

}  // namespace
