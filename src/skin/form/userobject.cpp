#include "skin/form/userobject.h"

#include "skin/data/dataskinobjects.h"
#include "skin/form/skinobjectowner.h"

namespace quorvel {

UserObject::UserObject(SkinObjectOwner& owner, const DataUserObject& data, const SkinPictures& pictures)
    : ActiveSkinObject(owner, data, pictures)
{
}

void UserObject::DrawOn(QPainter& canvas, bool) { OwnerFrame.FirePaint(IDName, canvas, ObjectRect); }

} // namespace quorvel
