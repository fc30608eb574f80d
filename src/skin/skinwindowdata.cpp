#include "skinwindowdata.h"

#include "dataskincontrols.h"
#include "skinini.h"

#include <algorithm>

namespace quorvel {

using namespace skinvalue;

namespace {

void FillZero(SkinPoint& hitTest, const SkinPoint& corner)
{
    if (hitTest.x == 0 || hitTest.y == 0)
        hitTest = corner;
}

} // namespace

void FormInfo::LoadFromIni(const SkinIni& ini, bool hasMask)
{
    const std::string s = "FORMINFO";
    ReadCorners(ini, s, lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint);
    clientrect = ReadRect(ini, s, "clientrect");
    bgpictureindex = ReadInteger(ini, s, "bgpictureindex", -1);
    mdibgpictureindex = ReadInteger(ini, s, "mdibgpictureindex", -1);
    ReadStretch(ini, s, leftstretch, rightstretch, topstretch, bottomstretch);
    maskrectarea = ReadRect(ini, s, "maskrectarea");
    hittestlefttoppoint = ReadPoint(ini, s, "hittestlefttoppoint");
    hittestrighttoppoint = ReadPoint(ini, s, "hittestrighttoppoint");
    hittestleftbottompoint = ReadPoint(ini, s, "hittestleftbottompoint");
    hittestrightbottompoint = ReadPoint(ini, s, "hittestrightbottompoint");
    buttonsrect = ReadRect(ini, s, "buttonsrect");
    captionrect = ReadRect(ini, s, "captionrect");
    buttonsoffset = ReadInteger(ini, s, "buttonsoffset", 0);
    buttonsinleft = ReadBoolean(ini, s, "buttonsinleft");
    mainmenupopupup = ReadBoolean(ini, s, "mainmenupopupup");
    borderwidth = ReadInteger(ini, s, "borderwidth", 0);
    autorenderinginactiveimage = ReadBoolean(ini, s, "autorenderinginactiveimage");
    inactiveeffect = ReadInactiveEffect(ini, s, "inactiveeffect");

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
    const std::string s = "FORMINFO";
    ini.EraseSection(s);
    WriteCorners(ini, s, lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint);
    WriteRect(ini, s, "clientrect", clientrect);
    WriteInteger(ini, s, "bgpictureindex", bgpictureindex);
    WriteInteger(ini, s, "mdibgpictureindex", mdibgpictureindex);
    WriteStretch(ini, s, leftstretch, rightstretch, topstretch, bottomstretch);
    WriteRect(ini, s, "maskrectarea", maskrectarea);
    WritePoint(ini, s, "hittestlefttoppoint", hittestlefttoppoint);
    WritePoint(ini, s, "hittestrighttoppoint", hittestrighttoppoint);
    WritePoint(ini, s, "hittestleftbottompoint", hittestleftbottompoint);
    WritePoint(ini, s, "hittestrightbottompoint", hittestrightbottompoint);
    WriteRect(ini, s, "buttonsrect", buttonsrect);
    WriteRect(ini, s, "captionrect", captionrect);
    WriteInteger(ini, s, "buttonsoffset", buttonsoffset);
    WriteBoolean(ini, s, "buttonsinleft", buttonsinleft);
    WriteBoolean(ini, s, "mainmenupopupup", mainmenupopupup);
    WriteInteger(ini, s, "borderwidth", borderwidth);
    WriteBoolean(ini, s, "autorenderinginactiveimage", autorenderinginactiveimage);
    WriteInactiveEffect(ini, s, "inactiveeffect", inactiveeffect);
}

void DataSkinPopupWindow::LoadFromIni(const SkinIni& ini)
{
    const std::string s = "POPUPWINDOW";
    windowPictureIndex = ReadInteger(ini, s, "windowpictureindex", -1);
    maskPictureIndex = ReadInteger(ini, s, "maskpictureindex", -1);
    ReadCorners(ini, s, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    itemsRect = ReadRect(ini, s, "itemsrect");
    scrollMarkerColor = ReadInteger(ini, s, "scrollmarkercolor", 0);
    scrollMarkerActiveColor = ReadInteger(ini, s, "scrollmarkeractivecolor", 0);
    ReadStretch(ini, s, leftStretch, rightStretch, topStretch, bottomStretch);
}

void DataSkinPopupWindow::SaveToIni(SkinIni& ini) const
{
    const std::string s = "POPUPWINDOW";
    ini.EraseSection(s);
    WriteInteger(ini, s, "windowpictureindex", windowPictureIndex);
    WriteInteger(ini, s, "maskpictureindex", maskPictureIndex);
    WriteCorners(ini, s, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    WriteRect(ini, s, "itemsrect", itemsRect);
    WriteInteger(ini, s, "scrollmarkercolor", scrollMarkerColor);
    WriteInteger(ini, s, "scrollmarkeractivecolor", scrollMarkerActiveColor);
    WriteStretch(ini, s, leftStretch, rightStretch, topStretch, bottomStretch);
}

DataSkinHintWindow::DataSkinHintWindow() : fontName(DefaultSkinFontName) {}

void DataSkinHintWindow::LoadFromIni(const SkinIni& ini)
{
    const std::string s = "HINTWINDOW";
    windowPictureIndex = ReadInteger(ini, s, "windowpictureindex", -1);
    maskPictureIndex = ReadInteger(ini, s, "maskpictureindex", -1);
    ReadCorners(ini, s, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    clientRect = ReadRect(ini, s, "clientrect");
    ReadFont(ini, s, fontName, fontHeight, fontStyle);
    fontColor = ReadInteger(ini, s, "fontcolor", 0);
    ReadStretch(ini, s, leftStretch, rightStretch, topStretch, bottomStretch);
}

void DataSkinHintWindow::SaveToIni(SkinIni& ini) const
{
    const std::string s = "HINTWINDOW";
    ini.EraseSection(s);
    WriteInteger(ini, s, "windowpictureindex", windowPictureIndex);
    WriteInteger(ini, s, "maskpictureindex", maskPictureIndex);
    WriteCorners(ini, s, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    WriteRect(ini, s, "clientrect", clientRect);
    WriteFont(ini, s, fontName, fontHeight, fontStyle);
    WriteInteger(ini, s, "fontcolor", fontColor);
    WriteStretch(ini, s, leftStretch, rightStretch, topStretch, bottomStretch);
}

} // namespace quorvel
