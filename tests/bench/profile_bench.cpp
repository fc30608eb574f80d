// Listing and reading every key of a 100,000-key profile file, beside a plain read and line
// split of the same bytes. Every iteration starts cold: the reader's cache is dropped.
#include "plainread.h"
#include "platform/inifile.h"
#include "platform/profilestore.h"
#include "scratchdir.h"

#include <benchmark/benchmark.h>

namespace {

const std::string& BigFile()
{
    static ScratchDir dir;
    static const std::string file = [] {
        std::string path = dir.File("big.ini");
        std::string text = "[Layer2]\r\n";
        for (int i = 0; i < 100000; ++i)
            text += "Channel " + std::to_string(i) + " HD=http://127.0.0.1:8080/live/" + std::to_string(i) +
                    "/index.m3u8\r\n";
        ScratchDir::Spit(path, text);
        return path;
    }();
    return file;
}

void PlainReadAndSplit(benchmark::State& state) { quorvel::bench::ReadAndSplit(state, BigFile()); }

void ListKeysThenReadEach(benchmark::State& state)
{
    for (auto _ : state) {
        quorvel::ProfileStore::Forget();
        quorvel::IniFile ini(BigFile());
        std::vector<std::string> keys;
        ini.ListKeys("Layer2", keys);
        std::size_t total = 0;
        for (const auto& k : keys)
            total += ini.ReadValue("Layer2", k, "").size();
        benchmark::DoNotOptimize(total);
    }
}

void ReadSectionValues(benchmark::State& state)
{
    for (auto _ : state) {
        quorvel::ProfileStore::Forget();
        quorvel::IniFile ini(BigFile());
        auto all = ini.ReadSectionValues("Layer2");
        benchmark::DoNotOptimize(all.data());
    }
}

} // namespace

BENCHMARK(PlainReadAndSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(ListKeysThenReadEach)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadSectionValues)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
