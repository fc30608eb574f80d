#include "logos/logodecode.h"

#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>

namespace quorvel {
namespace {

// The formats logos come in. Anything else the image plugins could read (XPM, PBM, TGA …) is
// no logo, and its decoder is never given a stranger's bytes.
bool IsLogoFormat(const QByteArray& format)
{
    static const QByteArray kFormats[] = {"png", "jpeg", "jpg", "gif", "bmp", "ico", "cur", "webp"};
    for (const QByteArray& f : kFormats)
        if (format == f)
            return true;
    return false;
}

// Fits the picture into a square, aspect kept; a sliver of a picture keeps at least one pixel.
QImage Fit(const QImage& image, int side)
{
    const QSize target = image.size().scaled(side, side, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    return target == image.size() ? image : image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage Refuse(QString* problem, const QString& why)
{
    if (problem)
        *problem = why;
    return {};
}

} // namespace

QImage DecodeLogo(const QByteArray& bytes, const LogoLimits& limits, QString* problem)
{
    if (bytes.isEmpty())
        return Refuse(problem, QStringLiteral("it is empty"));
    if (bytes.size() > limits.bytes)
        return Refuse(problem, QStringLiteral("it is larger than %1 bytes").arg(limits.bytes));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format().toLower();
    if (format.isEmpty() || !IsLogoFormat(format))
        return Refuse(problem, QStringLiteral("it is not a picture"));
    const QSize size = reader.size();
    // A decoder allocates what the header claims: the claim is judged before it is believed, and
    // a picture that will not say its size is not decoded at all.
    if (!size.isValid() || size.isEmpty())
        return Refuse(problem, QStringLiteral("its size cannot be read"));
    if (static_cast<qint64>(size.width()) * size.height() > limits.pixels)
        return Refuse(
            problem,
            QStringLiteral("it is %1×%2 pixels, more than %3").arg(size.width()).arg(size.height()).arg(limits.pixels));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        return Refuse(problem, QStringLiteral("it cannot be decoded: %1").arg(reader.errorString()));
    if (static_cast<qint64>(image.width()) * image.height() > limits.pixels)
        return Refuse(problem, QStringLiteral("it decodes larger than it said"));
    return image;
}

QImage KeptLogo(const QImage& image, const LogoLimits& limits)
{
    const QImage kept =
        image.width() > limits.keptSide || image.height() > limits.keptSide ? Fit(image, limits.keptSide) : image;
    return kept.convertToFormat(kept.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
}

QByteArray EncodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image))
        return {};
    return bytes;
}

QImage ScaleLogo(const QImage& image, int side)
{
    if (image.isNull() || side <= 0)
        return {};
    return Fit(image, side).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace quorvel
