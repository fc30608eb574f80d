#pragma once

#include <QtGlobal>

namespace quorvel {

// What a picture may be before it is decoded, and the size it is kept at once decoded.
struct LogoLimits {
    qint64 bytes = 1 << 20;      // a download or a cached file longer than this is refused
    qint64 pixels = 4096 * 4096; // a picture that says it is larger is refused before decoding
    int keptSide = 256;          // the cache keeps each logo scaled down to fit this square
};

} // namespace quorvel
