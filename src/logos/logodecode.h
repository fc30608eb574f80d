#pragma once

#include "logos/logolimits.h"

#include <QByteArray>
#include <QImage>
#include <QString>

namespace quorvel {

// The picture in bytes fetched from anywhere: a null image, with the reason in problem, unless
// the bytes are a PNG, JPEG, GIF, BMP, ICO or WebP picture within the limits. The picture's
// size is read from its header and checked before anything is decoded.
QImage DecodeLogo(const QByteArray& bytes, const LogoLimits& limits, QString* problem);

// The picture as the cache keeps it: scaled down to fit the kept square.
QImage KeptLogo(const QImage& image, const LogoLimits& limits);

// The picture as PNG bytes; empty when it cannot be encoded.
QByteArray EncodePng(const QImage& image);

// The picture scaled to fit a square of side pixels (up or down), aspect kept, ready to paint.
QImage ScaleLogo(const QImage& image, int side);

} // namespace quorvel
