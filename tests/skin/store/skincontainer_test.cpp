#include "skin/io/skinerrors.h"
#include "skin/io/stream.h"
#include "skin/store/skincontainer.h"
#include "skin/store/skinlimits.h"
#include "skintestdata.h"

#include <gtest/gtest.h>

using namespace quorvel;

namespace {

void Int32(std::string& s, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        s.push_back(static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

} // namespace

TEST(SkinContainer, WriterLayoutAndReaderAgree)
{
    SkinContainer c;
    c.picture = MakeBitmap(21, 5, 24);
    c.mask = MakeBitmap(21, 5, 24);
    c.pictures = {MakeBitmap(9, 3, 1), MakeBitmap(4, 4, 24), MakeBitmap(3, 2, 8)};
    c.definition = {"[VERSION]", "skinname=x", "", "[PICTURES]"};
    MemoryStream out;
    c.Write(out);
    const std::string& b = out.Bytes();
    // Version, picture flag 0 and the image, then the inactive flag 1 with nothing after it.
    EXPECT_EQ(b.substr(0, 4), std::string("\x03\0\0\0", 4));
    EXPECT_EQ(b[4], 0);
    const std::size_t afterPicture = 5 + c.picture.Bytes().size();
    EXPECT_EQ(b.substr(5, 2), "BM");
    EXPECT_EQ(b[afterPicture], 1);
    EXPECT_EQ(b[afterPicture + 1], 0);
    EXPECT_EQ(b.substr(afterPicture + 2, 2), "BM");
    EXPECT_EQ(b.substr(b.size() - 37), "[VERSION]\r\nskinname=x\r\n\r\n[PICTURES]\r\n");

    out.SetPosition(0);
    const SkinContainer back = SkinContainer::Read(out);
    EXPECT_EQ(back.version, 3);
    EXPECT_EQ(back.picture.Bytes(), c.picture.Bytes());
    EXPECT_TRUE(back.inactivePicture.Empty());
    ASSERT_EQ(back.pictures.size(), 3u);
    EXPECT_EQ(back.pictures[0].BitCount(), 1);
    EXPECT_EQ(back.pictures[2].Bytes(), c.pictures[2].Bytes());
    EXPECT_EQ(back.definition, (std::vector<std::string>{"[VERSION]", "skinname=x", "", "[PICTURES]"}));
}

TEST(SkinContainer, VersionTwoPairsVersionFourAndALastLineWithoutBreak)
{
    std::string v2;
    Int32(v2, 2);
    v2 += '\1'; // no picture
    v2 += '\1';
    v2 += '\0' + MakeBmp(2, 2, 24);
    v2 += '\0' + MakeBmp(3, 1, 24); // the two extra pairs
    v2 += '\1';
    Int32(v2, 1);
    v2 += MakeBmp(5, 5, 1);
    v2 += "[A]\r\nx=1\ry=2\nlast";
    MemoryStream s(v2);
    const SkinContainer c = SkinContainer::Read(s);
    EXPECT_EQ(c.mask.Width(), 2);
    ASSERT_EQ(c.pictures.size(), 1u);
    EXPECT_EQ(c.pictures[0].Width(), 5);
    EXPECT_EQ(c.definition, (std::vector<std::string>{"[A]", "x=1", "y=2", "last"}));

    std::string v4;
    Int32(v4, 4);
    v4 += '\0' + MakeBmp(2, 2, 24);
    MemoryStream s4(v4);
    const SkinContainer four = SkinContainer::Read(s4);
    EXPECT_EQ(four.version, 4);
    EXPECT_TRUE(four.picture.Empty());
    EXPECT_TRUE(four.definition.empty());
}

TEST(SkinContainer, DamagedImagesAndCountsFailCleanly)
{
    const std::string good = MakeBmp(4, 4, 24);
    auto container = [](const std::string& image, std::int32_t count) {
        std::string s;
        Int32(s, 3);
        s += "\1\1\1";
        Int32(s, count);
        return s + image;
    };
    std::vector<std::string> bad;
    bad.push_back(container(good.substr(0, good.size() - 1), 1)); // cut short
    bad.push_back(container(good, 1000000));                      // more pictures than bytes
    std::string huge = good;
    huge[18] = '\xff';
    huge[19] = '\xff';
    huge[20] = '\xff';
    huge[21] = '\x7f'; // width 2^31-1
    bad.push_back(container(huge, 1));
    std::string pastEnd = good;
    pastEnd[10] = '\xff';
    pastEnd[11] = '\xff';
    pastEnd[12] = '\xff'; // pixels far past the end
    bad.push_back(container(pastEnd, 1));
    std::string notBmp = good;
    notBmp[0] = 'X';
    bad.push_back(container(notBmp, 1));
    std::string depth = good;
    depth[28] = 7;
    bad.push_back(container(depth, 1));
    bad.push_back(std::string("\3\0", 2)); // no complete version
    for (std::size_t i = 0; i < bad.size(); ++i) {
        MemoryStream s(bad[i]);
        EXPECT_THROW(SkinContainer::Read(s), Exception) << i;
    }
}

TEST(SkinContainer, CountsAndLengthsBeyondTheContainerAreRefusedBeforeReading)
{
    // A picture count that the bytes left cannot hold is refused before any image is read.
    std::string s;
    Int32(s, 3);
    s += "\1\1\1";
    Int32(s, 2147483647);
    s += MakeBmp(4, 4, 24);
    MemoryStream counted(s);
    EXPECT_THROW(SkinContainer::Read(counted), EInvalidSkin);

    // The definition text may be as long as the limit, and no longer.
    std::string head;
    Int32(head, 3);
    head += "\1\1\1";
    Int32(head, 0);
    std::string text = "[A]\r\n";
    text += std::string(static_cast<std::size_t>(MaxSkinDefinitionSize) - text.size() - 2, 'x') + "\r\n";
    MemoryStream longest(head + text);
    EXPECT_EQ(SkinContainer::Read(longest).definition.size(), 2u);
    MemoryStream tooLong(head + text + "y");
    EXPECT_THROW(SkinContainer::Read(tooLong), EInvalidSkin);
}

TEST(SkinBitmap, LengthComesFromTheHeadersNotTheFileField)
{
    std::string image = MakeBmp(10, 3, 24);
    const std::size_t real = image.size();
    image[2] = '\x01'; // a wrong length field
    image[3] = image[4] = image[5] = 0;
    MemoryStream s(image + "TAIL");
    SkinBitmap b;
    b.LoadFromStream(s);
    EXPECT_EQ(b.Bytes().size(), real);
    EXPECT_EQ(s.Position(), static_cast<std::int64_t>(real));
    // Written back, the length field tells the truth.
    EXPECT_EQ(static_cast<unsigned char>(b.Bytes()[2]) | static_cast<unsigned char>(b.Bytes()[3]) << 8,
              static_cast<int>(real));
}
