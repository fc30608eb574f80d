#include "plainread.h"

#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

namespace quorvel::bench {

void ReadAndSplit(benchmark::State& state, const std::string& file)
{
    for (auto _ : state) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream ss;
        ss << in.rdbuf();
        const std::string bytes = ss.str();
        std::vector<std::string_view> lines;
        std::size_t pos = 0;
        while (pos < bytes.size()) {
            auto nl = bytes.find('\n', pos);
            if (nl == std::string::npos)
                nl = bytes.size();
            lines.emplace_back(bytes.data() + pos, nl - pos);
            pos = nl + 1;
        }
        benchmark::DoNotOptimize(lines.data());
    }
}

} // namespace quorvel::bench
