#include "skin/render/skinpictures.h"

#include "skin/data/skindata.h"
#include "skin/store/skinbitmap.h"

namespace quorvel {

SkinPictures::SkinPictures(const SkinData& data)
    : picture_(Decode(data.Picture)), inactivePicture_(Decode(data.InActivePicture)), mask_(Decode(data.Mask))
{
    numbered_.reserve(data.ActivePictures.size());
    for (const SkinBitmap& b : data.ActivePictures)
        numbered_.push_back(Decode(b));
}

const QImage& SkinPictures::Numbered(int index) const
{
    static const QImage none;
    return index >= 0 && index < Count() ? numbered_[static_cast<std::size_t>(index)] : none;
}

QImage SkinPictures::Decode(const SkinBitmap& bitmap)
{
    if (bitmap.Empty())
        return {};
    const std::string& bytes = bitmap.Bytes();
    QImage image =
        QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
    if (image.isNull())
        return {};
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace quorvel
