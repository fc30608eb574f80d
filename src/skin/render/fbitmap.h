#pragma once

#include <QImage>
#include <vector>

namespace quorvel {

// A 24-bit top-down copy of a bitmap made for fast reading, with a table of row addresses.
class FBitmap {
public:
    explicit FBitmap(const QImage& source);

    int Width() const { return image_.width(); }
    int Height() const { return image_.height(); }
    int RowInc() const { return Width() * 3 + Gap(); }
    int Gap() const { return Width() % 4; }
    int Size() const { return Height() * RowInc(); }
    const unsigned char* Bits() const { return image_.constBits(); }
    const std::vector<const unsigned char*>& Rows() const { return rows_; }

private:
    QImage image_;
    std::vector<const unsigned char*> rows_;
};

} // namespace quorvel
