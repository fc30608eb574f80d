#pragma once

#include <benchmark/benchmark.h>
#include <string>

namespace quorvel::bench {

// The baseline file benchmarks compare with: the whole file read into memory and cut into
// line views, nothing more.
void ReadAndSplit(benchmark::State& state, const std::string& file);

} // namespace quorvel::bench
