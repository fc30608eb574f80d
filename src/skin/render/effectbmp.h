#pragma once

#include "skin/definition/skinvalues.h"

#include <QImage>

#include <cstdint>
#include <random>

class QPainter;

namespace quorvel {

// A 24-bit bitmap with direct access to its rows, on which the skin engine blends, tints and
// turns images: top-down rows of blue, green, red bytes, each row padded to a multiple of 4
// bytes (stride 3 × width + width mod 4). A QImage in Format_BGR888 has exactly that layout.
class EffectBmp {
public:
    EffectBmp(int width, int height);
    // A 24-bit copy of any image.
    explicit EffectBmp(const QImage& image);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    int Stride() const { return Width() * 3 + Width() % 4; }
    int Size() const { return Height() * Stride(); }
    unsigned char* Row(int y) { return image_.scanLine(y); }
    const unsigned char* Row(int y) const { return image_.constScanLine(y); }
    const QImage& Image() const { return image_; }

    void Draw(QPainter& painter, int x, int y) const;
    // The pixel as 0x00RRGGBB: blue in the lowest byte.
    std::uint32_t GetPixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t value);
    void CopyRowOut(int y, unsigned char* buffer) const;
    void CopyRowIn(int y, const unsigned char* buffer);

    // Morphs from this image (A) towards other (B) by k in 0..1. Nothing happens when the
    // sizes differ.
    void Morph(MorphKind kind, const EffectBmp& other, double k);
    void CrossFade(const EffectBmp& other, double k);
    void CenterGradient(const EffectBmp& other, double k);
    void LeftGradient(const EffectBmp& other, double k);
    void RightGradient(const EffectBmp& other, double k);
    void LeftSlide(const EffectBmp& other, double k);
    void RightSlide(const EffectBmp& other, double k);
    void Push(const EffectBmp& other, double k);

    // The look of an inactive window's frame.
    void ApplyInactiveEffect(InactiveEffect effect);
    void Lighten(double k);
    void Darken(double k);
    void Grey();
    void Invert();
    void Noise(int amplitude, std::mt19937& random);
    void SplitBlur(int distance);

    // Into target, which gets the right size: a quarter turn counter-clockwise (tabs on the
    // left), clockwise (tabs on the right), or upside down (tabs at the bottom).
    void TurnLeft(EffectBmp& target) const;
    void TurnRight(EffectBmp& target) const;
    void Flip(EffectBmp& target) const;

private:
    void Slide(const EffectBmp& other, double k, bool toRight);
    bool SameSize(const EffectBmp& other) const { return Width() == other.Width() && Height() == other.Height(); }

    QImage image_;
};

// Rounds to the nearest integer, halves to the even neighbour, and keeps the result in 0..255.
unsigned char RoundChannel(double value);

} // namespace quorvel
