// Feeds arbitrary bytes to the logo decoder as a fetched logo, and checks what it hands on: a
// picture within the pixel bound or none, which the cache can keep and scale.
#include "logos/logodecode.h"

#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // The image plugins (JPEG, GIF, ICO) are found through the application object.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    quorvel::LogoLimits limits;
    limits.bytes = 256 * 1024;
    limits.pixels = 512 * 512;
    limits.keptSide = 64;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString problem;
    const QImage image = quorvel::DecodeLogo(bytes, limits, &problem);
    if (image.isNull()) {
        Check(!problem.isEmpty());
        return 0;
    }
    Check(static_cast<qint64>(image.width()) * image.height() <= limits.pixels);
    const QImage kept = quorvel::KeptLogo(image, limits);
    Check(kept.width() <= limits.keptSide && kept.height() <= limits.keptSide && !kept.isNull());
    Check(!quorvel::ScaleLogo(kept, 16).isNull());
    Check(!quorvel::EncodePng(kept).isEmpty());
    return 0;
}
