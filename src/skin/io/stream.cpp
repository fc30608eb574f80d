#include "skin/io/stream.h"

#include "skin/io/skinerrors.h"

#include <algorithm>
#include <cstring>

namespace quorvel {

void Stream::ReadBuffer(void* buffer, std::int64_t count)
{
    if (count > 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void Stream::WriteBuffer(const void* buffer, std::int64_t count)
{
    if (count > 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t Stream::CopyFrom(Stream& source, std::int64_t count)
{
    constexpr std::int64_t kBuffer = 4096;
    char buffer[kBuffer];
    std::int64_t copied = 0;
    if (count == 0) {
        source.SetPosition(0);
        for (;;) {
            const std::int64_t n = source.Read(buffer, kBuffer);
            if (n <= 0)
                return copied;
            WriteBuffer(buffer, n);
            copied += n;
        }
    }
    while (copied < count) {
        const std::int64_t n = std::min(kBuffer, count - copied);
        source.ReadBuffer(buffer, n);
        WriteBuffer(buffer, n);
        copied += n;
    }
    return copied;
}

std::int64_t MemoryStream::Read(void* buffer, std::int64_t count)
{
    const std::int64_t n = std::max<std::int64_t>(0, std::min(count, Size() - position_));
    if (n > 0)
        std::memcpy(buffer, bytes_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int64_t MemoryStream::Write(const void* buffer, std::int64_t count)
{
    if (count <= 0)
        return 0;
    const auto end = static_cast<std::size_t>(position_ + count);
    if (end > bytes_.size())
        bytes_.resize(end);
    std::memcpy(bytes_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int64_t MemoryStream::Seek(std::int64_t offset, Origin origin)
{
    std::int64_t base = 0;
    if (origin == Origin::Current)
        base = position_;
    else if (origin == Origin::End)
        base = Size();
    position_ = std::max<std::int64_t>(0, base + offset);
    return position_;
}

void MemoryStream::Clear()
{
    bytes_.clear();
    position_ = 0;
}

} // namespace quorvel
