#include "fbitmap.h"

namespace quorvel {

FBitmap::FBitmap(const QImage& source) : image_(source.convertToFormat(QImage::Format_BGR888))
{
    rows_.reserve(static_cast<std::size_t>(Height()));
    for (int y = 0; y < Height(); ++y)
        rows_.push_back(image_.constScanLine(y));
}

} // namespace quorvel
