#pragma once

#include <QImage>

#include <vector>

namespace quorvel {

class SkinBitmap;
class SkinData;

// The skin's bitmaps decoded once for drawing: the frame pictures, the mask and the numbered
// pictures. A bitmap that cannot be decoded reads as an empty image.
class SkinPictures {
public:
    SkinPictures() = default;
    explicit SkinPictures(const SkinData& data);

    const QImage& Picture() const { return picture_; }
    const QImage& InActivePicture() const { return inactivePicture_; }
    const QImage& Mask() const { return mask_; }
    // The numbered picture, or an empty image for -1 and any index past the list.
    const QImage& Numbered(int index) const;
    int Count() const { return static_cast<int>(numbered_.size()); }

    // A BMP file image as 32-bit pixels.
    static QImage Decode(const SkinBitmap& bitmap);

private:
    QImage picture_, inactivePicture_, mask_;
    std::vector<QImage> numbered_;
};

} // namespace quorvel
