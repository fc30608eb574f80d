// Feeds arbitrary bytes to the profile reader and its in-place writer.
#include "profiletext.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const quorvel::ProfileText text(bytes);
    for (const char* section : {"", "S", "Layer2", "WebTV ADS"}) {
        for (const auto& key : text.Keys(section))
            (void)text.Value(section, key);
        (void)text.Entries(section);
        const std::string written = text.WithValue(section, "New Key", "value");
        const quorvel::ProfileText again(written);
        auto v = again.Value(section, "new key");
        // A written key must read back, whatever the file held before.
        if (!v || *v != "value")
            __builtin_trap();
    }
    return 0;
}
