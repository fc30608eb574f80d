#include "skin/data/tabsection.h"

#include "skin/data/skindata.h"

namespace quorvel {
namespace {

// The bytes a numbered picture is decoded from; none for no picture.
const char* PictureBytes(const SkinData& data, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= data.ActivePictures.size())
        return nullptr;
    const SkinBitmap& bitmap = data.ActivePictures[static_cast<std::size_t>(index)];
    return bitmap.Empty() ? nullptr : bitmap.Bytes().data();
}

} // namespace

TabSection ReadTabSection(const SkinData* data, const std::string& name)
{
    TabSection s;
    if (!data || data->Empty)
        return s;
    const int index = data->FindControlIndex(name);
    if (index < 0 || static_cast<std::size_t>(index) >= data->SkinControls.size())
        return s;
    s.index = index;
    const auto* c = dynamic_cast<const DataSkinTabControl*>(data->SkinControls[static_cast<std::size_t>(index)].get());
    if (!c)
        return s;
    s.source = c;
    s.pictureBytes = PictureBytes(*data, c->pictureIndex);
    s.backgroundBytes = PictureBytes(*data, c->bgPictureIndex);
    s.pictureIndex = c->pictureIndex;
    s.bgPictureIndex = c->bgPictureIndex;
    s.skinRect = c->skinRect;
    s.clientRect = c->clientRect;
    s.leftTop = c->leftTopPoint;
    s.rightTop = c->rightTopPoint;
    s.leftBottom = c->leftBottomPoint;
    s.rightBottom = c->rightBottomPoint;
    s.tabRect = c->tabRect;
    s.activeTabRect = c->activeTabRect.IsEmpty() ? c->tabRect : c->activeTabRect;
    s.focusTabRect = c->focusTabRect.IsEmpty() ? c->activeTabRect : c->focusTabRect;
    s.mouseInTabRect = c->mouseInTabRect;
    s.tabLeftOffset = c->tabLeftOffset;
    s.tabRightOffset = c->tabRightOffset;
    s.tabsBGRect = c->tabsBGRect;
    s.fontName = c->fontName;
    s.fontHeight = c->fontHeight;
    s.fontStyle = c->fontStyle;
    s.fontColor = c->fontColor;
    s.activeFontColor = c->activeFontColor;
    s.focusFontColor = c->focusFontColor;
    s.mouseInFontColor = c->mouseInFontColor;
    s.upDown = c->upDown;
    return s;
}

} // namespace quorvel
