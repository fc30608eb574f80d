#include "skin/io/zlibstreams.h"

#include "skin/io/skinerrors.h"

#include <algorithm>
#include <cstring>
#include <zlib.h>

namespace quorvel {
namespace {

// The zlib interface version the stored skins were made with; zlib accepts any 1.x here.
constexpr const char* kZlibVersion = "1.1.4";

int CheckCompress(int rc)
{
    if (rc < 0)
        throw ECompressionError("error");
    return rc;
}

int CheckDecompress(int rc)
{
    if (rc < 0)
        throw EDecompressionError("compression error");
    return rc;
}

int LevelValue(CompressionStream::Level level)
{
    switch (level) {
    case CompressionStream::Level::None:
        return 0;
    case CompressionStream::Level::Fastest:
        return 1;
    case CompressionStream::Level::Default:
        return -1;
    case CompressionStream::Level::Max:
        return 9;
    }
    return -1;
}

} // namespace

CustomZlibStream::CustomZlibStream(Stream& underlying)
    : underlying_(underlying), underlyingPosition_(underlying.Position()), stream_(std::make_unique<z_stream>()),
      z_(*stream_)
{
}

CustomZlibStream::~CustomZlibStream() = default;

void CustomZlibStream::RestorePosition()
{
    if (underlying_.Position() != underlyingPosition_)
        underlying_.SetPosition(underlyingPosition_);
}

void CustomZlibStream::Moved()
{
    underlyingPosition_ = underlying_.Position();
    if (OnProgress)
        OnProgress(*this);
}

CompressionStream::CompressionStream(Level level, Stream& target) : CustomZlibStream(target)
{
    z_.next_out = buffer_;
    z_.avail_out = BufferSize;
    CheckCompress(deflateInit_(&z_, LevelValue(level), kZlibVersion, static_cast<int>(sizeof(z_stream))));
}

CompressionStream::~CompressionStream()
{
    try {
        if (!finished_)
            Finish();
    } catch (...) {
        // A destructor cannot report; Close() is there for callers who want to know.
    }
    deflateEnd(&z_);
}

void CompressionStream::Close()
{
    if (!finished_)
        Finish();
}

void CompressionStream::Finish()
{
    finished_ = true;
    z_.next_in = nullptr;
    z_.avail_in = 0;
    RestorePosition();
    while (CheckCompress(deflate(&z_, Z_FINISH)) != Z_STREAM_END && z_.avail_out == 0) {
        underlying_.WriteBuffer(buffer_, BufferSize);
        z_.next_out = buffer_;
        z_.avail_out = BufferSize;
    }
    if (z_.avail_out < static_cast<uInt>(BufferSize))
        underlying_.WriteBuffer(buffer_, BufferSize - z_.avail_out);
    z_.next_out = buffer_;
    z_.avail_out = BufferSize;
}

std::int64_t CompressionStream::Read(void*, std::int64_t) { throw ECompressionError("Invalid stream operation"); }

std::int64_t CompressionStream::Write(const void* buffer, std::int64_t count)
{
    z_.next_in = static_cast<Bytef*>(const_cast<void*>(buffer));
    z_.avail_in = static_cast<uInt>(count);
    RestorePosition();
    while (z_.avail_in > 0) {
        CheckCompress(deflate(&z_, Z_NO_FLUSH));
        if (z_.avail_out == 0) {
            underlying_.WriteBuffer(buffer_, BufferSize);
            z_.next_out = buffer_;
            z_.avail_out = BufferSize;
            Moved();
        }
    }
    return count;
}

std::int64_t CompressionStream::Seek(std::int64_t offset, Origin origin)
{
    if (offset == 0 && origin == Origin::Current)
        return static_cast<std::int64_t>(z_.total_in);
    throw ECompressionError("Invalid stream operation");
}

DecompressionStream::DecompressionStream(Stream& source) : CustomZlibStream(source)
{
    z_.next_in = buffer_;
    z_.avail_in = 0;
    CheckDecompress(inflateInit_(&z_, kZlibVersion, static_cast<int>(sizeof(z_stream))));
}

DecompressionStream::~DecompressionStream() { inflateEnd(&z_); }

std::int64_t DecompressionStream::Read(void* buffer, std::int64_t count)
{
    z_.next_out = static_cast<Bytef*>(buffer);
    z_.avail_out = static_cast<uInt>(count);
    RestorePosition();
    while (z_.avail_out > 0) {
        if (z_.avail_in == 0) {
            const std::int64_t n = underlying_.Read(buffer_, BufferSize);
            if (n <= 0)
                return count - z_.avail_out;
            z_.next_in = buffer_;
            z_.avail_in = static_cast<uInt>(n);
            Moved();
        }
        // The end of the zlib stream yields no more bytes, whatever follows it.
        const int rc = CheckDecompress(inflate(&z_, Z_NO_FLUSH));
        // A stream asking for a preset dictionary cannot be inflated here; it would never move.
        if (rc == Z_NEED_DICT)
            throw EDecompressionError("compression error");
        if (rc == Z_STREAM_END) {
            ended_ = true;
            return count - z_.avail_out;
        }
    }
    return count;
}

std::int64_t DecompressionStream::Write(const void*, std::int64_t)
{
    throw EDecompressionError("Invalid stream operation");
}

std::int64_t DecompressionStream::Seek(std::int64_t offset, Origin origin)
{
    if (offset == 0 && origin == Origin::Beginning) {
        CheckDecompress(inflateReset(&z_));
        ended_ = false;
        z_.next_in = buffer_;
        z_.avail_in = 0;
        underlying_.SetPosition(0);
        underlyingPosition_ = 0;
        return 0;
    }
    const auto produced = static_cast<std::int64_t>(z_.total_out);
    std::int64_t skip = -1;
    if (origin == Origin::Current && offset >= 0)
        skip = offset;
    else if (origin == Origin::Beginning && offset >= produced)
        skip = offset - produced;
    if (skip < 0)
        throw EDecompressionError("Invalid stream operation");
    char scratch[BufferSize];
    while (skip > 0) {
        const std::int64_t n = Read(scratch, std::min<std::int64_t>(skip, BufferSize));
        if (n <= 0)
            break;
        skip -= n;
    }
    return static_cast<std::int64_t>(z_.total_out);
}

void CompressStream(Stream& source, Stream& target)
{
    CompressionStream compressor(CompressionStream::Level::Max, target);
    source.SetPosition(0);
    char buffer[CustomZlibStream::BufferSize];
    for (;;) {
        const std::int64_t n = source.Read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        compressor.WriteBuffer(buffer, n);
    }
    compressor.Close();
}

void DecompressStream(Stream& target, Stream& source, std::int64_t maxOutput)
{
    source.SetPosition(0);
    DecompressionStream inflater(source);
    char buffer[CustomZlibStream::BufferSize];
    std::int64_t total = 0;
    for (;;) {
        const std::int64_t n = inflater.Read(buffer, sizeof buffer);
        if (n <= 0)
            break;
        total += n;
        if (total > maxOutput)
            throw EDecompressionError("compression error");
        target.WriteBuffer(buffer, n);
    }
    // A stream cut short is damaged too, not a shorter skin.
    if (!inflater.AtStreamEnd())
        throw EDecompressionError("compression error");
}

std::int64_t DeflatedSizeBound(std::int64_t size)
{
    return static_cast<std::int64_t>(compressBound(static_cast<uLong>(size)));
}

} // namespace quorvel
