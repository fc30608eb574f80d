#include "skin/data/skinwindowdata.h"

#include "skin/data/dataskincontrols.h"
#include "skin/definition/skinfields.h"
#include "skin/definition/skinini.h"

#include <algorithm>

namespace quorvel {

namespace {

const std::string kFormInfo = "FORMINFO";
const std::string kPopupWindow = "POPUPWINDOW";
const std::string kHintWindow = "HINTWINDOW";

// Each section's keys, in the order the definition has them.

template <class F, class O>
void FormInfoFields(F& f, O& o)
{
    f.Corners(o.lefttoppoint, o.righttoppoint, o.leftbottompoint, o.rightbottompoint);
    f.Rect("clientrect", o.clientrect);
    f.Integer("bgpictureindex", o.bgpictureindex, -1);
    f.Integer("mdibgpictureindex", o.mdibgpictureindex, -1);
    f.Stretch(o.leftstretch, o.rightstretch, o.topstretch, o.bottomstretch);
    f.Rect("maskrectarea", o.maskrectarea);
    f.Point("hittestlefttoppoint", o.hittestlefttoppoint);
    f.Point("hittestrighttoppoint", o.hittestrighttoppoint);
    f.Point("hittestleftbottompoint", o.hittestleftbottompoint);
    f.Point("hittestrightbottompoint", o.hittestrightbottompoint);
    f.Rect("buttonsrect", o.buttonsrect);
    f.Rect("captionrect", o.captionrect);
    f.Integer("buttonsoffset", o.buttonsoffset, 0);
    f.Boolean("buttonsinleft", o.buttonsinleft);
    f.Boolean("mainmenupopupup", o.mainmenupopupup);
    f.Integer("borderwidth", o.borderwidth, 0);
    f.Boolean("autorenderinginactiveimage", o.autorenderinginactiveimage);
    f.Effect("inactiveeffect", o.inactiveeffect);
}

template <class F, class O>
void PopupWindowFields(F& f, O& o)
{
    f.Integer("windowpictureindex", o.windowPictureIndex, -1);
    f.Integer("maskpictureindex", o.maskPictureIndex, -1);
    f.Corners(o.leftTopPoint, o.rightTopPoint, o.leftBottomPoint, o.rightBottomPoint);
    f.Rect("itemsrect", o.itemsRect);
    f.Integer("scrollmarkercolor", o.scrollMarkerColor, 0);
    f.Integer("scrollmarkeractivecolor", o.scrollMarkerActiveColor, 0);
    f.Stretch(o.leftStretch, o.rightStretch, o.topStretch, o.bottomStretch);
}

template <class F, class O>
void HintWindowFields(F& f, O& o)
{
    f.Integer("windowpictureindex", o.windowPictureIndex, -1);
    f.Integer("maskpictureindex", o.maskPictureIndex, -1);
    f.Corners(o.leftTopPoint, o.rightTopPoint, o.leftBottomPoint, o.rightBottomPoint);
    f.Rect("clientrect", o.clientRect);
    f.Font(o.fontName, o.fontHeight, o.fontStyle);
    f.Integer("fontcolor", o.fontColor, 0);
    f.Stretch(o.leftStretch, o.rightStretch, o.topStretch, o.bottomStretch);
}

void FillZero(SkinPoint& hitTest, const SkinPoint& corner)
{
    if (hitTest.x == 0 || hitTest.y == 0)
        hitTest = corner;
}

} // namespace

void FormInfo::LoadFromIni(const SkinIni& ini, bool hasMask)
{
    SkinFieldReader f(ini, kFormInfo);
    FormInfoFields(f, *this);

    if (hasMask) {
        if (maskrectarea.IsEmpty()) {
            maskrectarea = clientrect;
        } else {
            maskrectarea.left = std::min(maskrectarea.left, clientrect.left);
            maskrectarea.top = std::min(maskrectarea.top, clientrect.top);
            maskrectarea.right = std::max(maskrectarea.right, clientrect.right);
            maskrectarea.bottom = std::max(maskrectarea.bottom, clientrect.bottom);
        }
        FillZero(hittestlefttoppoint, lefttoppoint);
        FillZero(hittestrighttoppoint, righttoppoint);
        FillZero(hittestleftbottompoint, leftbottompoint);
        FillZero(hittestrightbottompoint, rightbottompoint);
    }
    if (rightbottompoint.x != lefttoppoint.x && rightbottompoint.y != lefttoppoint.y) {
        const SkinRect& c = clientrect;
        lefttoppoint.x = std::max(lefttoppoint.x, c.left);
        lefttoppoint.y = std::max(lefttoppoint.y, c.top);
        righttoppoint.x = std::min(righttoppoint.x, c.right);
        righttoppoint.y = std::max(righttoppoint.y, c.top);
        leftbottompoint.x = std::max(leftbottompoint.x, c.left);
        leftbottompoint.y = std::min(leftbottompoint.y, c.bottom);
        rightbottompoint.x = std::min(rightbottompoint.x, c.right);
        rightbottompoint.y = std::min(rightbottompoint.y, c.bottom);
    }
}

void FormInfo::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(kFormInfo);
    SkinFieldWriter f(ini, kFormInfo);
    FormInfoFields(f, *this);
}

void DataSkinPopupWindow::LoadFromIni(const SkinIni& ini)
{
    SkinFieldReader f(ini, kPopupWindow);
    PopupWindowFields(f, *this);
}

void DataSkinPopupWindow::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(kPopupWindow);
    SkinFieldWriter f(ini, kPopupWindow);
    PopupWindowFields(f, *this);
}

DataSkinHintWindow::DataSkinHintWindow() : fontName(DefaultSkinFontName) { }

void DataSkinHintWindow::LoadFromIni(const SkinIni& ini)
{
    SkinFieldReader f(ini, kHintWindow);
    HintWindowFields(f, *this);
}

void DataSkinHintWindow::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(kHintWindow);
    SkinFieldWriter f(ini, kHintWindow);
    HintWindowFields(f, *this);
}

} // namespace quorvel
