#include "skin/io/skinerrors.h"
#include "skin/io/zlibstreams.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

std::string Sample(std::size_t n)
{
    std::string s;
    for (std::size_t i = 0; i < n; ++i)
        s.push_back(static_cast<char>((i * 7) % 251 + (i % 1000 < 500 ? 0 : 3)));
    return s;
}

std::string Deflate(const std::string& plain)
{
    MemoryStream source(plain), target;
    CompressStream(source, target);
    return target.Bytes();
}

} // namespace

TEST(ZlibStreams, RoundTripAtTheMaximumLevel)
{
    for (std::size_t n : {0u, 1u, 4095u, 4096u, 4097u, 300000u}) {
        const std::string plain = Sample(n);
        const std::string packed = Deflate(plain);
        ASSERT_GE(packed.size(), 2u);
        EXPECT_EQ(static_cast<unsigned char>(packed[0]), 0x78);
        EXPECT_EQ(static_cast<unsigned char>(packed[1]), 0xDA);
        MemoryStream source(packed), target;
        DecompressStream(target, source);
        EXPECT_EQ(target.Bytes(), plain) << n;
    }
}

TEST(ZlibStreams, InvalidOperationsAndSeeks)
{
    MemoryStream target;
    {
        CompressionStream c(CompressionStream::Level::Max, target);
        char byte;
        EXPECT_THROW(c.Read(&byte, 1), ECompressionError);
        c.WriteBuffer("abcdef", 6);
        EXPECT_EQ(c.Seek(0, Stream::Origin::Current), 6);
        EXPECT_THROW(c.Seek(1, Stream::Origin::Current), ECompressionError);
        EXPECT_THROW(c.Seek(0, Stream::Origin::Beginning), ECompressionError);
    }
    const std::string plain = Sample(20000);
    MemoryStream source(Deflate(plain));
    DecompressionStream d(source);
    EXPECT_THROW(d.Write("x", 1), EDecompressionError);
    char buf[10];
    EXPECT_EQ(d.Seek(5000, Stream::Origin::Beginning), 5000);
    d.ReadBuffer(buf, 10);
    EXPECT_EQ(std::string(buf, 10), plain.substr(5000, 10));
    EXPECT_EQ(d.Seek(100, Stream::Origin::Current), 5110);
    EXPECT_THROW(d.Seek(-1, Stream::Origin::Current), EDecompressionError);
    EXPECT_THROW(d.Seek(10, Stream::Origin::Beginning), EDecompressionError); // behind what was produced
    EXPECT_THROW(d.Seek(0, Stream::Origin::End), EDecompressionError);
    EXPECT_EQ(d.Seek(0, Stream::Origin::Beginning), 0);
    d.ReadBuffer(buf, 10);
    EXPECT_EQ(std::string(buf, 10), plain.substr(0, 10));
}

TEST(ZlibStreams, DamagedTruncatedAndOversizedData)
{
    std::string packed = Deflate(Sample(50000));
    std::string damaged = packed;
    damaged[10] = static_cast<char>(damaged[10] ^ 0x55);
    damaged[11] = static_cast<char>(damaged[11] ^ 0xAA);
    // A stream that asks for a preset dictionary (header flag) can never be inflated here.
    const std::string needsDictionary("\x78\x20\xd8\x63\xd1\xd2\xc8\x03\x00\x00", 10);
    for (const std::string& bad :
         {damaged, packed.substr(0, packed.size() / 2), std::string("garbage!"), needsDictionary}) {
        MemoryStream source(bad), target;
        try {
            DecompressStream(target, source);
            FAIL() << "damaged data inflated";
        } catch (const EDecompressionError& e) {
            EXPECT_EQ(e.Message(), "compression error");
        }
    }
    // More output than the bound stops inflating instead of taking all memory.
    MemoryStream bomb(Deflate(std::string(1 << 20, '\0'))), target;
    EXPECT_THROW(DecompressStream(target, bomb, 1 << 16), EDecompressionError);
    EXPECT_LE(target.Size(), 1 << 16);
}
