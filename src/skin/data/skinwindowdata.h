#pragma once

#include "skin/definition/skinvalues.h"

#include <string>

namespace quorvel {

class SkinIni;

// The frame geometry of section "FORMINFO", in pixels of the main frame picture.
struct FormInfo {
    SkinPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
    SkinRect clientrect;
    int bgpictureindex = -1;
    int mdibgpictureindex = -1;
    bool leftstretch = false, rightstretch = false, topstretch = false, bottomstretch = false;
    SkinRect maskrectarea;
    SkinPoint hittestlefttoppoint, hittestrighttoppoint, hittestleftbottompoint, hittestrightbottompoint;
    SkinRect buttonsrect;
    SkinRect captionrect;
    int buttonsoffset = 0;
    bool buttonsinleft = false;
    bool mainmenupopupup = false;
    int borderwidth = 0;
    bool autorenderinginactiveimage = false;
    InactiveEffect inactiveeffect = InactiveEffect::Brightness;

    // Reads the keys in order, then fits them together: with a mask the mask area takes in the
    // client rectangle and missing hit-test points take the frame's; the corner points are kept
    // within the client rectangle.
    void LoadFromIni(const SkinIni& ini, bool hasMask);
    void SaveToIni(SkinIni& ini) const;
};

// Section "POPUPWINDOW": the picture of popup menus.
struct DataSkinPopupWindow {
    int windowPictureIndex = -1;
    int maskPictureIndex = -1;
    SkinPoint leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint;
    SkinRect itemsRect;
    SkinColor scrollMarkerColor = 0;
    SkinColor scrollMarkerActiveColor = 0;
    bool leftStretch = false, rightStretch = false, topStretch = false, bottomStretch = false;

    void LoadFromIni(const SkinIni& ini);
    void SaveToIni(SkinIni& ini) const;
};

// Section "HINTWINDOW": the picture and font of skinned hints.
struct DataSkinHintWindow {
    DataSkinHintWindow();
    int windowPictureIndex = -1;
    int maskPictureIndex = -1;
    SkinPoint leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint;
    SkinRect clientRect;
    std::string fontName;
    int fontHeight = 12;
    FontStyle fontStyle;
    SkinColor fontColor = 0;
    bool leftStretch = false, rightStretch = false, topStretch = false, bottomStretch = false;

    void LoadFromIni(const SkinIni& ini);
    void SaveToIni(SkinIni& ini) const;
};

} // namespace quorvel
