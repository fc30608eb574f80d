#include "userobject.h"

#include "dataskinobjects.h"
#include "skinobjectowner.h"

namespace quorvel {

UserObject::UserObject(SkinObjectOwner& owner, const DataUserObject& data, const SkinPictures& pictures)
    : ActiveSkinObject(owner, data, pictures)
{
}

void UserObject::DrawOn(QPainter& canvas, bool) { OwnerFrame.FirePaint(IDName, canvas, ObjectRect); }

} // namespace quorvel
