// Loading the program's stored skin (inflate, container, definition, every section) against a
// raw zlib inflate of the same stream.
#include "compressedstoredskin.h"
#include "skindata.h"
#include "storedskin.h"

#include <benchmark/benchmark.h>
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

} // namespace

BENCHMARK(RawInflate)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadStoredSkin)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
