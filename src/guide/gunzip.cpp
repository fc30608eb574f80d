#include "guide/gunzip.h"

#include <algorithm>
#include <zlib.h>

namespace quorvel {

Gunzip::Gunzip() : stream_(std::make_unique<z_stream_s>()), out_(std::size_t(1) << 17)
{
    // 16 + window bits: a gzip wrapper, checked to its trailer.
    if (inflateInit2(stream_.get(), 16 + MAX_WBITS) != Z_OK) {
        problem_ = "the unpacker could not be started";
        stopped_ = true;
    }
}

Gunzip::~Gunzip() { inflateEnd(stream_.get()); }

bool Gunzip::Feed(const char* data, std::size_t size, const Take& take)
{
    if (stopped_)
        return false;
    z_stream_s& s = *stream_;
    while (size > 0 && !trailing_) {
        if (atMemberEnd_) {
            // Another member follows, or what follows is not ours to read.
            if (static_cast<unsigned char>(data[0]) != 0x1f) {
                trailing_ = true;
                break;
            }
            inflateReset(&s);
            atMemberEnd_ = false;
        }
        // zlib counts in unsigned int: large chunks go in parts.
        const std::size_t part = std::min<std::size_t>(size, 1u << 30);
        s.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        s.avail_in = static_cast<uInt>(part);
        s.avail_out = 0;
        int result = Z_OK;
        // A full output buffer may leave output waiting inside zlib with no input left.
        while ((s.avail_in > 0 || s.avail_out == 0) && result != Z_STREAM_END) {
            s.next_out = reinterpret_cast<Bytef*>(out_.data());
            s.avail_out = static_cast<uInt>(out_.size());
            result = inflate(&s, Z_NO_FLUSH);
            const std::size_t produced = out_.size() - s.avail_out;
            if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) {
                problem_ = s.msg ? std::string("the packed guide is damaged (") + s.msg + ")"
                                 : std::string("the packed guide is damaged");
                stopped_ = true;
                // What came out before the damage is good: the trailer's check only fails later.
                if (produced > 0)
                    take(out_.data(), produced);
                return false;
            }
            if (produced > 0 && !take(out_.data(), produced)) {
                stopped_ = true;
                return false;
            }
            if (result == Z_BUF_ERROR && produced == 0 && s.avail_in > 0) {
                problem_ = "the packed guide is damaged";
                stopped_ = true;
                return false;
            }
        }
        const std::size_t used = part - s.avail_in;
        data += used;
        size -= used;
        if (result == Z_STREAM_END)
            atMemberEnd_ = true;
    }
    return true;
}

} // namespace quorvel
