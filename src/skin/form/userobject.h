#pragma once

#include "skin/form/activeskinobject.h"

namespace quorvel {

class DataUserObject;

// An area of the frame that the application paints itself.
class UserObject : public ActiveSkinObject {
public:
    UserObject(SkinObjectOwner& owner, const DataUserObject& data, const SkinPictures& pictures);
    void DrawOn(QPainter& canvas, bool update) override;
};

} // namespace quorvel
