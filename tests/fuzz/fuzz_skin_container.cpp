// Arbitrary bytes as a skin container, raw and as a zlib stream: the reader either reads them
// or throws; it never crashes or runs away with memory.
#include "base/exception.h"
#include "skin/io/stream.h"
#include "skin/io/zlibstreams.h"
#include "skin/store/skincontainer.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        quorvel::MemoryStream s(bytes);
        (void)quorvel::SkinContainer::Read(s);
    } catch (const quorvel::Exception&) {
    }
    try {
        quorvel::MemoryStream packed(bytes), plain;
        quorvel::DecompressStream(plain, packed, 8 * 1024 * 1024);
        plain.SetPosition(0);
        (void)quorvel::SkinContainer::Read(plain);
    } catch (const quorvel::Exception&) {
    }
    return 0;
}
