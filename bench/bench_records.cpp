// Reading and writing a list file of 100,000 mixed records, beside a plain
// fread/fwrite of the same bytes.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/heap.h"
#include "base/paths.h"
#include "records/serial.h"

// The heap keeps what it gets back, as in the editor and the data tool.
[[maybe_unused]] static const bool kHeapKept = (KeepFreedHeapMemory(), true);

namespace {

class cBenchItem : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBenchItem)
    SERIAL_MEMBERS
    {
        Members<cBenchItem> m(*this, op, other, io, version);
        m.Int("id", &cBenchItem::id);
        m.Int("kind", &cBenchItem::kind);
        m.Str("name", &cBenchItem::name);
        return m.Result();
    }
    int32_t id = 0;
    int16_t kind = 0;
    std::string name;
};

class cBenchRecord : public cSerial {
public:
    SERIAL_CONSTRUCTOR(cBenchRecord)
    SERIAL_MEMBERS
    {
        Members<cBenchRecord> m(*this, op, other, io, version);
        m.Int("a", &cBenchRecord::a);
        m.Int("b", &cBenchRecord::b);
        m.Int("flag", &cBenchRecord::flag);
        m.Real("rate", &cBenchRecord::rate);
        m.Str("name", &cBenchRecord::name);
        m.Str("help", &cBenchRecord::help);
        m.Array("stats", &cBenchRecord::stats);
        m.IntVec("values", &cBenchRecord::values);
        m.StrVec("words", &cBenchRecord::words);
        m.List("items", &cBenchRecord::items);
        return m.Result();
    }
    int32_t a = 0, b = 0;
    uint8_t flag = 0;
    double rate = 0;
    std::string name, help;
    std::array<int32_t, 9> stats{};
    std::vector<int32_t> values;
    std::vector<std::string> words;
    RecordList<cBenchItem> items;
};

constexpr int kRecords = 100000;

const std::string& Folder()
{
    static const std::string dir = [] {
        auto p = std::filesystem::temp_directory_path() / "vantor-bench";
        std::filesystem::create_directories(p);
        return p.string();
    }();
    return dir;
}

RecordList<cBenchRecord>& Sample()
{
    static RecordList<cBenchRecord> list = [] {
        RecordList<cBenchRecord> l;
        l.resize(kRecords);
        for (int i = 0; i < kRecords; ++i) {
            cBenchRecord& r = l[i];
            r.a = i;
            r.b = -i;
            r.flag = static_cast<uint8_t>(i & 1);
            r.rate = i * 0.25;
            r.name = "record ";
            r.name += std::to_string(i);
            r.help = i % 3 ? std::string() : std::string("\x83\x77\x83\x8B\x83\x76 help text");
            for (int k = 0; k < 9; ++k)
                r.stats[k] = i + k;
            r.values = {i, i + 1, i + 2};
            r.words = {"a", "bc"};
            r.items.emplace_back().name.assign(1, 'x');
        }
        return l;
    }();
    return list;
}

std::string ListPath() { return StoredPath(Folder() + "/list.dat"); }
std::string HostListPath() { return Folder() + "/list.dat"; }

void BM_SaveListFile(benchmark::State& state)
{
    auto& list = Sample();
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveListFile(list, ListPath()));
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(HostListPath())));
}
BENCHMARK(BM_SaveListFile)->Unit(benchmark::kMillisecond);

void BM_LoadListFile(benchmark::State& state)
{
    SaveListFile(Sample(), ListPath());
    for (auto _ : state) {
        RecordList<cBenchRecord> list;
        benchmark::DoNotOptimize(LoadListFile(list, ListPath()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(HostListPath())));
}
BENCHMARK(BM_LoadListFile)->Unit(benchmark::kMillisecond);

// The same load right after a run of saves in the same process, as a project is
// loaded again after editing: the heap then holds what the saves left behind.
void BM_LoadListFileAfterSave(benchmark::State& state)
{
    auto& list = Sample();
    for (int i = 0; i < 30; ++i)
        SaveListFile(list, ListPath());
    for (auto _ : state) {
        RecordList<cBenchRecord> loaded;
        benchmark::DoNotOptimize(LoadListFile(loaded, ListPath()));
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(std::filesystem::file_size(HostListPath())));
}
BENCHMARK(BM_LoadListFileAfterSave)->Unit(benchmark::kMillisecond);

// The same bytes through plain stdio, for scale.
void BM_PlainFwrite(benchmark::State& state)
{
    SaveListFile(Sample(), ListPath());
    std::vector<char> bytes(std::filesystem::file_size(HostListPath()));
    std::FILE* f = std::fopen(HostListPath().c_str(), "rb");
    benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
    std::string out = Folder() + "/plain.dat";
    for (auto _ : state) {
        std::FILE* w = std::fopen(out.c_str(), "wb");
        benchmark::DoNotOptimize(std::fwrite(bytes.data(), 1, bytes.size(), w));
        std::fclose(w);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_PlainFwrite)->Unit(benchmark::kMillisecond);

void BM_PlainFread(benchmark::State& state)
{
    SaveListFile(Sample(), ListPath());
    std::size_t size = std::filesystem::file_size(HostListPath());
    for (auto _ : state) {
        std::vector<char> bytes(size);
        std::FILE* f = std::fopen(HostListPath().c_str(), "rb");
        benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), f));
        std::fclose(f);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_PlainFread)->Unit(benchmark::kMillisecond);

}  // namespace
