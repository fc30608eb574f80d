// Feeds arbitrary bytes to the profile reader and its in-place writer.
#include "base/profiletext.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// The same text with every line end (CR LF, lone CR) written as LF.
std::string WithLfLineEnds(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r') {
            out.push_back('\n');
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else {
            out.push_back(bytes[i]);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const quorvel::ProfileText text(bytes);
    const quorvel::ProfileText lf(WithLfLineEnds(bytes));
    for (const char* section : {"", "S", "Layer2", "WebTV ADS"}) {
        // Line ends of any kind read alike.
        if (text.Keys(section) != lf.Keys(section) || text.Entries(section) != lf.Entries(section))
            __builtin_trap();
        for (const auto& key : text.Keys(section))
            if (text.Value(section, key) != lf.Value(section, key))
                __builtin_trap();
        const std::string written = text.WithValue(section, "New Key", "value");
        const quorvel::ProfileText again(written);
        auto v = again.Value(section, "new key");
        // A written key must read back, whatever the file held before.
        if (!v || *v != "value")
            __builtin_trap();
    }
    return 0;
}
