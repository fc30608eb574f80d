// Loading the program's stored skin (inflate, container, definition, every section) against a
// raw zlib inflate of the same stream; and the largest hostile skins a load still takes: a
// definition as long as it may be, all entries, in one section or in many.
#include "app/storedskin.h"
#include "skin/data/skindata.h"
#include "skin/io/zlibstreams.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skincontainer.h"
#include "skin/store/skinlimits.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <zlib.h>

namespace {

void RawInflate(benchmark::State& state)
{
    const std::string packed = quorvel::StoredSkinData();
    std::string out(4 << 20, '\0');
    for (auto _ : state) {
        uLongf size = static_cast<uLongf>(out.size());
        uncompress(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(packed.data()),
                   static_cast<uLong>(packed.size()));
        benchmark::DoNotOptimize(size);
    }
}

void LoadStoredSkin(benchmark::State& state)
{
    quorvel::CompressedStoredSkin stored;
    stored.SetCompressedData(quorvel::StoredSkinData());
    for (auto _ : state) {
        quorvel::SkinData data;
        data.LoadCompressedStoredSkin(stored);
        benchmark::DoNotOptimize(data.SkinControls.size());
    }
}

// A container whose definition, just under its size limit, lists one object per line, each with
// a section of its own (sections) or all sharing one (entries).
std::string HostileSkin(bool sections)
{
    quorvel::SkinContainer c;
    std::int64_t size = 64;
    c.definition = {"[SKINOBJECTS]", "count=0"};
    std::vector<std::string> own;
    int n = 0;
    while (size < quorvel::MaxSkinDefinitionSize - 64) {
        const std::string name = sections ? "o" + std::to_string(n) : "o";
        c.definition.push_back(std::to_string(n) + "=" + name + ":caption");
        size += static_cast<std::int64_t>(c.definition.back().size()) + 2;
        if (sections) {
            own.push_back("[" + name + "]");
            own.push_back("skinrect=1,2,3,4");
            size += static_cast<std::int64_t>(own[own.size() - 2].size() + own.back().size()) + 4;
        }
        ++n;
    }
    c.definition[1] = "count=" + std::to_string(n);
    c.definition.insert(c.definition.end(), own.begin(), own.end());
    quorvel::MemoryStream plain, packed;
    c.Write(plain);
    quorvel::CompressStream(plain, packed);
    return packed.Bytes();
}

void LoadHostileSkin(benchmark::State& state)
{
    quorvel::CompressedStoredSkin stored;
    stored.SetCompressedData(HostileSkin(state.range(0) != 0));
    std::size_t objects = 0;
    for (auto _ : state) {
        quorvel::SkinData data;
        data.LoadCompressedStoredSkin(stored);
        objects = data.SkinObjects.size();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["objects"] = static_cast<double>(objects);
    state.counters["peak_rss_mb"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

} // namespace

BENCHMARK(LoadHostileSkin)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(RawInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadStoredSkin)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
