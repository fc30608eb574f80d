#include "skin/render/effectbmp.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace quorvel {
namespace {

double Limit01(double k)
{
    if (!(k >= 0)) // also not a number
        return 0;
    return k > 1 ? 1 : k;
}

int RoundInt(double v) { return static_cast<int>(std::nearbyint(v)); }

// Round half to even for 0 <= v < 2^52 without a library call: adding and taking away 2^52
// leaves exactly the nearest integer in the default rounding mode. Keeps the loops simple
// enough for the compiler to vectorise.
inline double RoundNonNegative(double v)
{
    constexpr double kShift = 4503599627370496.0; // 2^52
    return (v + kShift) - kShift;
}

// One pixel of A becomes m × A + (1 − m) × B.
void BlendPixel(unsigned char* a, const unsigned char* b, double m)
{
    for (int c = 0; c < 3; ++c)
        a[c] = RoundChannel(m * a[c] + (1 - m) * b[c]);
}

void CopyPixel(unsigned char* to, const unsigned char* from) { std::memcpy(to, from, 3); }

// One row of a cross-fade. Both weights lie in 0..1, so the sum stays in 0..255 and needs no
// clamping. Built for wide vector units too, picked by the processor at load time.
__attribute__((target_clones("arch=x86-64-v4", "avx2", "default"))) void
CrossFadeRow(unsigned char* a, const unsigned char* b, int n, double ka, double k)
{
    for (int i = 0; i < n; ++i)
        a[i] = static_cast<unsigned char>(RoundNonNegative(ka * a[i] + k * b[i]));
}

// Every channel of every pixel through the same function.
template <class Fn>
void MapChannels(EffectBmp& bmp, Fn fn)
{
    for (int y = 0; y < bmp.Height(); ++y) {
        unsigned char* a = bmp.Row(y);
        for (int i = 0; i < 3 * bmp.Width(); ++i)
            a[i] = fn(a[i]);
    }
}

} // namespace

unsigned char RoundChannel(double value)
{
    const double r = std::nearbyint(value);
    if (!(r > 0))
        return 0;
    return r > 255 ? 255 : static_cast<unsigned char>(r);
}

EffectBmp::EffectBmp(int width, int height)
    : image_(width > 0 && height > 0 ? QImage(width, height, QImage::Format_BGR888) : QImage())
{
    if (!image_.isNull())
        image_.fill(Qt::black);
}

EffectBmp::EffectBmp(const QImage& image) : image_(image.convertToFormat(QImage::Format_BGR888)) { }

void EffectBmp::Draw(QPainter& painter, int x, int y) const
{
    if (!image_.isNull())
        painter.drawImage(x, y, image_);
}

std::uint32_t EffectBmp::GetPixel(int x, int y) const
{
    const unsigned char* p = Row(y) + 3 * x;
    return p[0] | p[1] << 8 | static_cast<std::uint32_t>(p[2]) << 16;
}

void EffectBmp::SetPixel(int x, int y, std::uint32_t value)
{
    unsigned char* p = Row(y) + 3 * x;
    p[0] = static_cast<unsigned char>(value);
    p[1] = static_cast<unsigned char>(value >> 8);
    p[2] = static_cast<unsigned char>(value >> 16);
}

void EffectBmp::CopyRowOut(int y, unsigned char* buffer) const { std::memcpy(buffer, Row(y), 3 * Width()); }

void EffectBmp::CopyRowIn(int y, const unsigned char* buffer) { std::memcpy(Row(y), buffer, 3 * Width()); }

void EffectBmp::Morph(MorphKind kind, const EffectBmp& other, double k)
{
    switch (kind) {
    case MorphKind::Default:
        CrossFade(other, k);
        break;
    case MorphKind::Gradient:
        CenterGradient(other, k);
        break;
    case MorphKind::LeftGradient:
        LeftGradient(other, k);
        break;
    case MorphKind::RightGradient:
        RightGradient(other, k);
        break;
    case MorphKind::LeftSlide:
        LeftSlide(other, k);
        break;
    case MorphKind::RightSlide:
        RightSlide(other, k);
        break;
    case MorphKind::Push:
        Push(other, k);
        break;
    }
}

void EffectBmp::CrossFade(const EffectBmp& other, double k)
{
    if (!SameSize(other))
        return;
    k = Limit01(k);
    const double ka = 1 - k;
    const int n = 3 * Width();
    for (int y = 0; y < Height(); ++y)
        CrossFadeRow(Row(y), other.Row(y), n, ka, k);
}

void EffectBmp::CenterGradient(const EffectBmp& other, double k)
{
    if (!SameSize(other))
        return;
    const int W = Width(), H = Height();
    if (W >= H) {
        const int b = RoundInt(W * k);
        const int c = (W - b) / 2;
        const int d = b / 2;
        const double step = c != 0 ? 1.0 / c : 1.0;
        const int L = std::max(0, W / 2 - d);
        const int R = std::min(W - 1, W / 2 + d);
        for (int y = 0; y < H; ++y) {
            unsigned char* a = Row(y);
            const unsigned char* bb = other.Row(y);
            for (int x = L; x <= R; ++x)
                CopyPixel(a + 3 * x, bb + 3 * x);
            double m = 0;
            for (int x = L; x >= 0; --x, m = std::min(1.0, m + step))
                BlendPixel(a + 3 * x, bb + 3 * x, m);
            m = 0;
            for (int x = R; x <= W - 1; ++x, m = std::min(1.0, m + step))
                BlendPixel(a + 3 * x, bb + 3 * x, m);
        }
        return;
    }
    const int b = RoundInt(H * k);
    const int e = (H - 1 - b) / 2;
    const int d = b / 2;
    const double step = e != 0 ? 1.0 / e : 0.0;
    const int T = std::max(0, H / 2 - d);
    const int U = std::min(H - 1, H / 2 + d);
    const int n = 3 * W;
    for (int y = T; y <= U; ++y)
        std::memcpy(Row(y), other.Row(y), n);
    auto blendRow = [&](int y, double m) {
        unsigned char* a = Row(y);
        const unsigned char* bb = other.Row(y);
        for (int x = 0; x < W; ++x)
            BlendPixel(a + 3 * x, bb + 3 * x, m);
    };
    double m = 0;
    for (int y = T; y >= 0; --y, m = std::min(1.0, m + step))
        blendRow(y, m);
    m = 0;
    for (int y = U; y <= H - 1; ++y, m = std::min(1.0, m + step))
        blendRow(y, m);
}

void EffectBmp::LeftGradient(const EffectBmp& other, double k)
{
    if (!SameSize(other))
        return;
    const int W = Width();
    int a = RoundInt(W * k);
    a = std::max(a, 1);
    a = std::min(a, W - 1);
    const double step = 1.0 / a;
    for (int y = 0; y < Height(); ++y) {
        unsigned char* row = Row(y);
        const unsigned char* b = other.Row(y);
        double m = 0;
        for (int x = 0; x <= a && x < W; ++x, m = std::min(1.0, m + step))
            BlendPixel(row + 3 * x, b + 3 * x, m);
    }
}

void EffectBmp::RightGradient(const EffectBmp& other, double k)
{
    if (!SameSize(other))
        return;
    const int W = Width();
    int a = W - RoundInt(W * k);
    a = std::max(a, 0);
    a = std::min(a, W - 1);
    const double step = 1.0 / (W - a);
    for (int y = 0; y < Height(); ++y) {
        unsigned char* row = Row(y);
        const unsigned char* b = other.Row(y);
        double m = 0;
        for (int x = W - 1; x >= a && x >= 0; --x, m = std::min(1.0, m + step))
            BlendPixel(row + 3 * x, b + 3 * x, m);
    }
}

void EffectBmp::LeftSlide(const EffectBmp& other, double k) { Slide(other, k, false); }

void EffectBmp::RightSlide(const EffectBmp& other, double k) { Slide(other, k, true); }

void EffectBmp::Slide(const EffectBmp& other, double k, bool toRight)
{
    if (!SameSize(other))
        return;
    const int W = Width();
    const int s = std::min(std::max(RoundInt(W * k), 1), W - 1);
    for (int y = 0; y < Height(); ++y) {
        unsigned char* a = Row(y);
        const unsigned char* b = other.Row(y);
        // Left: B's last s columns enter at the left; right: B's first s columns at the right.
        for (int x = 0; x < s; ++x) {
            const int far = std::min(W - 1, W - s + x);
            CopyPixel(a + 3 * (toRight ? far : x), b + 3 * (toRight ? x : far));
        }
    }
}

void EffectBmp::Push(const EffectBmp& other, double k)
{
    if (!SameSize(other))
        return;
    const int W = Width();
    const int a = std::min(std::max(RoundInt(W * k), 0), W - 1);
    for (int y = 0; y < Height(); ++y) {
        unsigned char* row = Row(y);
        const unsigned char* b = other.Row(y);
        for (int x = W - 1; x >= a + 1; --x)
            CopyPixel(row + 3 * x, row + 3 * (x - a - 1));
        for (int x = 0; x <= a; ++x)
            CopyPixel(row + 3 * x, b + 3 * std::min(W - 1, W - a - 1 + x));
    }
}

void EffectBmp::ApplyInactiveEffect(InactiveEffect effect)
{
    switch (effect) {
    case InactiveEffect::Brightness:
        Lighten(0.5);
        break;
    case InactiveEffect::Darkness:
        Darken(0.3);
        break;
    case InactiveEffect::Grayscale:
        Grey();
        break;
    case InactiveEffect::Noise: {
        std::mt19937 random(std::random_device{}());
        Noise(50, random);
        break;
    }
    case InactiveEffect::SplitBlur:
        SplitBlur(1);
        break;
    case InactiveEffect::Invert:
        Invert();
        break;
    }
}

void EffectBmp::Lighten(double k)
{
    k = Limit01(k);
    MapChannels(*this, [k](unsigned char c) { return RoundChannel((1 - k) * c + 255 * k); });
}

void EffectBmp::Darken(double k)
{
    k = Limit01(k);
    MapChannels(*this, [k](unsigned char c) { return RoundChannel((1 - k) * c); });
}

void EffectBmp::Grey()
{
    for (int y = 0; y < Height(); ++y) {
        unsigned char* p = Row(y);
        for (int x = 0; x < Width(); ++x, p += 3) {
            const unsigned char g = RoundChannel(0.3 * p[2] + 0.59 * p[1] + 0.11 * p[0]);
            p[0] = p[1] = p[2] = g;
        }
    }
}

void EffectBmp::Invert()
{
    MapChannels(*this, [](unsigned char c) { return static_cast<unsigned char>(255 - c); });
}

void EffectBmp::Noise(int amplitude, std::mt19937& random)
{
    if (amplitude <= 0)
        return;
    std::uniform_int_distribution<int> pick(0, amplitude - 1);
    for (int y = 0; y < Height(); ++y) {
        unsigned char* p = Row(y);
        for (int x = 0; x < Width(); ++x, p += 3) {
            const int offset = pick(random) - amplitude / 2;
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<unsigned char>(std::clamp(p[c] + offset, 0, 255));
        }
    }
}

void EffectBmp::SplitBlur(int distance)
{
    if (distance == 0)
        return;
    const int W = Width(), H = Height();
    for (int y = 0; y < H; ++y) {
        const int y1 = y - distance < 0 ? y : y - distance;
        const int y2 = y + distance >= H ? y : y + distance;
        for (int x = 0; x < W; ++x) {
            const int x1 = x - distance < 0 ? x : x - distance;
            const int x2 = x + distance >= W ? x : x + distance;
            unsigned char* p = Row(y) + 3 * x;
            // Reads what is there now: rows above are already blurred.
            for (int c = 0; c < 3; ++c) {
                const int sum = Row(y1)[3 * x1 + c] + Row(y2)[3 * x1 + c] + Row(y1)[3 * x2 + c] + Row(y2)[3 * x2 + c];
                p[c] = static_cast<unsigned char>(sum / 4);
            }
        }
    }
}

void EffectBmp::TurnLeft(EffectBmp& target) const
{
    const int W = Width(), H = Height();
    target = EffectBmp(H, W);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            CopyPixel(target.Row(W - 1 - x) + 3 * y, Row(y) + 3 * x);
}

void EffectBmp::TurnRight(EffectBmp& target) const
{
    const int W = Width(), H = Height();
    target = EffectBmp(H, W);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            CopyPixel(target.Row(x) + 3 * (H - 1 - y), Row(y) + 3 * x);
}

void EffectBmp::Flip(EffectBmp& target) const
{
    const int W = Width(), H = Height();
    target = EffectBmp(W, H);
    for (int y = 0; y < H; ++y)
        std::memcpy(target.Row(H - 1 - y), Row(y), 3 * W);
}

} // namespace quorvel
