#pragma once

#include "skin/io/stream.h"

#include <functional>
#include <memory>

// zlib's stream state, kept out of this header: zlib is this library's own affair.
struct z_stream_s;

namespace quorvel {

// The base of the compressing and inflating streams: it works over another stream, moving
// data through a 4096-byte buffer, and keeps that stream at the position it left it.
class CustomZlibStream : public Stream {
public:
    static constexpr int BufferSize = 4096;

    std::function<void(CustomZlibStream&)> OnProgress;

    ~CustomZlibStream() override;
    CustomZlibStream(const CustomZlibStream&) = delete;
    CustomZlibStream& operator=(const CustomZlibStream&) = delete;

protected:
    explicit CustomZlibStream(Stream& underlying);
    // Puts the underlying stream back where this stream left it, if someone moved it.
    void RestorePosition();
    void Moved();

    Stream& underlying_;
    std::int64_t underlyingPosition_;
    std::unique_ptr<z_stream_s> stream_;
    z_stream_s& z_;
    unsigned char buffer_[BufferSize];
};

// Deflates everything written to it into the target stream; releasing it finishes the stream.
class CompressionStream : public CustomZlibStream {
public:
    enum class Level { None, Fastest, Default, Max };

    CompressionStream(Level level, Stream& target);
    ~CompressionStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    // Only the current position may be asked for: the bytes taken in so far.
    std::int64_t Seek(std::int64_t offset, Origin origin) override;
    // Finishes the zlib stream now, so that errors can be reported; release does it otherwise.
    void Close();

private:
    void Finish();
    bool finished_ = false;
};

// Inflates the source stream as it is read.
class DecompressionStream : public CustomZlibStream {
public:
    explicit DecompressionStream(Stream& source);
    ~DecompressionStream() override;

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, Origin origin) override;
    // The zlib stream's end has been reached.
    bool AtStreamEnd() const { return ended_; }

private:
    bool ended_ = false;
};

// The most bytes zlib deflates `size` bytes into: more in a stored stream is damage.
std::int64_t DeflatedSizeBound(std::int64_t size);
// The whole source, from its start, deflated at the maximum level into the target.
void CompressStream(Stream& source, Stream& target);
// The whole source, from its start, inflated into the target. Stops with EDecompressionError
// past maxOutput bytes, so damaged or hostile data cannot take all memory.
void DecompressStream(Stream& target, Stream& source, std::int64_t maxOutput = 64LL * 1024 * 1024);

} // namespace quorvel
