#pragma once

#include <QImage>

namespace quorvel {

class SkinData;

// The numbered picture of the skin as pixels (32-bit, opaque), or a null image when the index is
// -1, past the end of the list or names an empty bitmap. Pictures are decoded once and shared by
// every control that draws from them; a picture replaced by a new skin is decoded again.
QImage SkinPicture(const SkinData* data, int index);
// Forgets the decoded pictures of that skin data (its skin is about to change or it goes away).
void ForgetSkinPictures(const SkinData* data);

} // namespace quorvel
