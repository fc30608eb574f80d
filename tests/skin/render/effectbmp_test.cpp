#include "skin/render/effectbmp.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

using namespace quorvel;

namespace {

// An image whose every pixel has all three channels equal to the value at its column (and row).
EffectBmp Columns(const std::vector<int>& values, int height = 1)
{
    EffectBmp b(static_cast<int>(values.size()), height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < b.Width(); ++x)
            b.SetPixel(x, y, static_cast<std::uint32_t>(values[x] * 0x010101));
    return b;
}

EffectBmp Solid(int w, int h, std::uint32_t pixel)
{
    EffectBmp b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, pixel);
    return b;
}

std::vector<int> RowOf(const EffectBmp& b, int y = 0)
{
    std::vector<int> out;
    for (int x = 0; x < b.Width(); ++x)
        out.push_back(static_cast<int>(b.GetPixel(x, y) & 0xFF));
    return out;
}

std::vector<int> ColumnOf(const EffectBmp& b, int x = 0)
{
    std::vector<int> out;
    for (int y = 0; y < b.Height(); ++y)
        out.push_back(static_cast<int>(b.GetPixel(x, y) & 0xFF));
    return out;
}

} // namespace

TEST(EffectBmp, LayoutIsTopDownBgrWithPaddedRows)
{
    for (int w : {1, 2, 3, 4, 5, 43}) {
        EffectBmp b(w, 2);
        EXPECT_EQ(b.Stride(), 3 * w + w % 4);
        EXPECT_EQ(b.Image().bytesPerLine(), b.Stride());
        EXPECT_EQ(b.Size(), 2 * b.Stride());
    }
    EffectBmp b(2, 2);
    b.SetPixel(1, 0, 0x00112233); // red 0x11, green 0x22, blue 0x33
    EXPECT_EQ(b.Row(0)[3], 0x33);
    EXPECT_EQ(b.Row(0)[5], 0x11);
    EXPECT_EQ(b.Image().pixelColor(1, 0), QColor(0x11, 0x22, 0x33));
    EffectBmp empty(0, 5);
    empty.Grey();
    empty.SplitBlur(1);
    empty.CrossFade(EffectBmp(0, 5), 0.5);
    EXPECT_EQ(empty.Height(), 0);
}

TEST(EffectBmp, TintsRoundHalvesToEven)
{
    EffectBmp grey(4, 1);
    grey.SetPixel(0, 0, 0xFF0000); // red
    grey.SetPixel(1, 0, 0x00FF00); // green
    grey.SetPixel(2, 0, 0x0000FF); // blue
    grey.SetPixel(3, 0, 0xFFFFFF);
    grey.Grey();
    EXPECT_EQ(RowOf(grey), (std::vector<int>{76, 150, 28, 255}));
    EXPECT_EQ(grey.GetPixel(0, 0), 76u * 0x010101);

    EffectBmp light = Columns({0, 255, 1});
    light.Lighten(0.5);
    EXPECT_EQ(RowOf(light), (std::vector<int>{128, 255, 128})); // 127.5 -> 128, 128.0 -> 128
    EffectBmp dark = Columns({100, 255, 5});
    dark.Darken(0.3);
    EXPECT_EQ(RowOf(dark), (std::vector<int>{70, 178, 4})); // 178.5 -> 178, 3.5 -> 4
    EffectBmp inv = Columns({0, 200});
    inv.Invert();
    EXPECT_EQ(RowOf(inv), (std::vector<int>{255, 55}));
}

TEST(EffectBmp, NoiseStaysInRangeWithOneOffsetPerPixel)
{
    std::mt19937 random(7);
    EffectBmp mid = Solid(64, 64, 0x808080);
    mid.Noise(50, random);
    EffectBmp edges = Solid(64, 64, 0x00FF00);
    edges.Noise(50, random);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const std::uint32_t p = mid.GetPixel(x, y);
            const int c = static_cast<int>(p & 0xFF);
            EXPECT_TRUE(c >= 128 - 25 && c <= 128 + 24);
            EXPECT_EQ(p, static_cast<std::uint32_t>(c) * 0x010101);
            const std::uint32_t q = edges.GetPixel(x, y);
            EXPECT_TRUE((q >> 8 & 0xFF) >= 230 && (q & 0xFF) <= 24 && (q >> 16) <= 24);
        }
}

TEST(EffectBmp, SplitBlurReadsPixelsAlreadyBlurred)
{
    EffectBmp one = Columns({77});
    one.SplitBlur(1);
    EXPECT_EQ(RowOf(one), std::vector<int>{77});
    EffectBmp row = Columns({0, 100, 200});
    row.SplitBlur(1);
    EXPECT_EQ(RowOf(row), (std::vector<int>{50, 125, 162}));
    EffectBmp same = Columns({9, 8, 7});
    same.SplitBlur(0);
    EXPECT_EQ(RowOf(same), (std::vector<int>{9, 8, 7}));
}

TEST(EffectBmp, CrossFadeAndItsLimits)
{
    const EffectBmp b = Columns({200, 100});
    for (auto [k, expected] : {std::pair{0.0, std::vector<int>{0, 50}},
                               {1.0, {200, 100}},
                               {1.5, {200, 100}},
                               {0.5, {100, 75}},
                               {std::numeric_limits<double>::quiet_NaN(), {0, 50}}}) {
        EffectBmp a = Columns({0, 50});
        a.CrossFade(b, k);
        EXPECT_EQ(RowOf(a), expected) << k;
    }
    EffectBmp other = Columns({0, 50});
    other.CrossFade(Columns({1, 2, 3}), 1);
    EXPECT_EQ(RowOf(other), (std::vector<int>{0, 50})); // sizes differ: nothing
}

TEST(EffectBmp, WideCrossFadesRoundEveryByteAlikeHalvesToEven)
{
    // Rows long enough for the wide vector paths, of odd widths, against the plain formula
    // worked one byte at a time: no fused products, halves to even.
    std::mt19937 random(7);
    for (int w : {1, 5, 33, 97, 1921}) {
        EffectBmp a(w, 2), b(w, 2);
        for (int y = 0; y < 2; ++y)
            for (int i = 0; i < 3 * w; ++i) {
                a.Row(y)[i] = static_cast<unsigned char>(random() & 0xff);
                b.Row(y)[i] = static_cast<unsigned char>(random() & 0xff);
            }
        // The first bytes make exact halves: 0.5, 1.5, 2.5, 3.5 at k = 0.5.
        for (int i = 0; i < std::min(4, 3 * w); ++i) {
            a.Row(0)[i] = static_cast<unsigned char>(i);
            b.Row(0)[i] = static_cast<unsigned char>(i + 1);
        }
        for (double k : {0.5, 0.1, 0.25, 1.0 / 3, 0.7, 0.999}) {
            EffectBmp faded = a;
            faded.CrossFade(b, k);
            for (int y = 0; y < 2; ++y)
                for (int i = 0; i < 3 * w; ++i) {
                    volatile double left = (1 - k) * a.Row(y)[i];
                    volatile double right = k * b.Row(y)[i];
                    const double expected = std::nearbyint(left + right);
                    ASSERT_EQ(faded.Row(y)[i], expected) << "w " << w << " k " << k << " byte " << i;
                }
        }
    }
}

TEST(EffectBmp, GradientsFadeOverTheirOwnLengths)
{
    const std::vector<int> black(10, 0), white(10, 255);
    EffectBmp h = Columns(black, 2);
    h.CenterGradient(Columns(white, 2), 0.4);
    EXPECT_EQ(RowOf(h, 1), (std::vector<int>{0, 85, 170, 255, 255, 255, 255, 255, 170, 85}));

    EffectBmp v(2, 10), vb = Solid(2, 10, 0xFFFFFF);
    v.CenterGradient(vb, 0.4);
    EXPECT_EQ(ColumnOf(v, 1), (std::vector<int>{0, 0, 128, 255, 255, 255, 255, 255, 128, 0}));

    EffectBmp left = Columns({0, 0, 0, 0});
    left.LeftGradient(Columns({255, 255, 255, 255}), 0);
    EXPECT_EQ(RowOf(left), (std::vector<int>{255, 0, 0, 0}));
    EffectBmp left2 = Columns({0, 0, 0, 0});
    left2.LeftGradient(Columns({255, 255, 255, 255}), 0.5); // a = 2: m 0, 0.5, 1
    EXPECT_EQ(RowOf(left2), (std::vector<int>{255, 128, 0, 0}));
    EffectBmp right = Columns({0, 0, 0, 0});
    right.RightGradient(Columns({255, 255, 255, 255}), 0);
    EXPECT_EQ(RowOf(right), (std::vector<int>{0, 0, 0, 255}));
    EffectBmp right2 = Columns({0, 0, 0, 0});
    right2.RightGradient(Columns({255, 255, 255, 255}), 0.5); // a = 2, step 1/2
    EXPECT_EQ(RowOf(right2), (std::vector<int>{0, 0, 128, 255}));
}

TEST(EffectBmp, SlidesAndPush)
{
    const EffectBmp b = Columns({100, 101, 102, 103});
    EffectBmp push = Columns({1, 2, 3, 4});
    push.Push(b, 0);
    EXPECT_EQ(RowOf(push), (std::vector<int>{103, 1, 2, 3}));
    EffectBmp push2 = Columns({1, 2, 3, 4});
    push2.Push(b, 0.5); // a = 2
    EXPECT_EQ(RowOf(push2), (std::vector<int>{101, 102, 103, 1}));
    EffectBmp ls = Columns({1, 2, 3, 4});
    ls.LeftSlide(b, 0);
    EXPECT_EQ(RowOf(ls), (std::vector<int>{103, 2, 3, 4}));
    EffectBmp rs = Columns({1, 2, 3, 4});
    rs.RightSlide(b, 0.5);
    EXPECT_EQ(RowOf(rs), (std::vector<int>{1, 2, 100, 101}));
    EffectBmp morph = Columns({1, 2, 3, 4});
    morph.Morph(MorphKind::LeftSlide, b, 0.5);
    EXPECT_EQ(RowOf(morph), (std::vector<int>{102, 103, 3, 4}));
}

TEST(EffectBmp, TurnsAndFlip)
{
    EffectBmp src(3, 2); // values 10 * y + x
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            src.SetPixel(x, y, static_cast<std::uint32_t>(10 * y + x));
    EffectBmp left(1, 1), right(1, 1), flip(1, 1);
    src.TurnLeft(left);
    src.TurnRight(right);
    src.Flip(flip);
    ASSERT_EQ(left.Width(), 2);
    ASSERT_EQ(left.Height(), 3);
    EXPECT_EQ(RowOf(left, 0), (std::vector<int>{2, 12}));
    EXPECT_EQ(RowOf(left, 2), (std::vector<int>{0, 10}));
    EXPECT_EQ(RowOf(right, 0), (std::vector<int>{10, 0}));
    EXPECT_EQ(RowOf(right, 2), (std::vector<int>{12, 2}));
    EXPECT_EQ(RowOf(flip, 0), (std::vector<int>{10, 11, 12}));
}
