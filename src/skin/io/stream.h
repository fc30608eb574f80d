#pragma once

#include <cstdint>
#include <string>

namespace quorvel {

// A sequence of bytes with a position, read and written in pieces.
class Stream {
public:
    enum class Origin { Beginning, Current, End };

    virtual ~Stream() = default;
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
    // Writes count bytes; returns how many were written.
    virtual std::int64_t Write(const void* buffer, std::int64_t count) = 0;
    // Moves the position; returns the new position.
    virtual std::int64_t Seek(std::int64_t offset, Origin origin) = 0;

    std::int64_t Position() { return Seek(0, Origin::Current); }
    // The stream's length; streams that cannot tell (the zlib ones) give -1.
    virtual std::int64_t Length() { return -1; }
    void SetPosition(std::int64_t position) { Seek(position, Origin::Beginning); }
    // Reads exactly count bytes or throws EReadError.
    void ReadBuffer(void* buffer, std::int64_t count);
    void WriteBuffer(const void* buffer, std::int64_t count);
    // Copies count bytes from source (all of it from its start when count is 0).
    std::int64_t CopyFrom(Stream& source, std::int64_t count);
};

// A stream over bytes held in memory.
class MemoryStream : public Stream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) { }

    std::int64_t Read(void* buffer, std::int64_t count) override;
    std::int64_t Write(const void* buffer, std::int64_t count) override;
    std::int64_t Seek(std::int64_t offset, Origin origin) override;

    std::int64_t Size() const { return static_cast<std::int64_t>(bytes_.size()); }
    std::int64_t Length() override { return Size(); }
    const std::string& Bytes() const { return bytes_; }
    void Clear();
    // The bytes from the position to the end, without moving it.
    std::int64_t Remaining() const { return Size() - position_; }

private:
    std::string bytes_;
    std::int64_t position_ = 0;
};

} // namespace quorvel
