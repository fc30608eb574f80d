#pragma once

#include "skin/definition/skinvalues.h"

#include <memory>
#include <string>

namespace quorvel {

class SkinIni;

// The section of one skinned control kind, named IDName. LoadFromIni reads it (base keys first);
// SaveToIni erases it and writes the same keys in the same order.
class DataSkinControl {
public:
    explicit DataSkinControl(std::string idName);
    virtual ~DataSkinControl() = default;
    virtual void LoadFromIni(const SkinIni& ini);
    virtual void SaveToIni(SkinIni& ini) const;

    std::string IDName;
    std::string Kind; // the kind it was listed as, written back with it
    int pictureIndex = -1;
    int maskPictureIndex = -1;
    SkinRect skinRect;
};

class DataSkinCustomControl : public DataSkinControl {
public:
    using DataSkinControl::DataSkinControl;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    SkinPoint leftTopPoint;
    SkinPoint rightTopPoint;
    SkinPoint leftBottomPoint;
    SkinPoint rightBottomPoint;
    SkinRect clientRect;
};

class DataSkinPanelControl : public DataSkinCustomControl {
public:
    explicit DataSkinPanelControl(std::string idName);
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    int bgPictureIndex = -1;
    SkinRect captionRect;
    TextAlignment alignment = TextAlignment::Center;
    std::string fontName; // "宋体" until a skin is read
    int fontHeight = 12;
    FontStyle fontStyle;
    SkinColor fontColor = 0;
    SkinRect checkImageRect;
    SkinRect uncheckImageRect;
};

class DataSkinTabControl : public DataSkinControl {
public:
    explicit DataSkinTabControl(std::string idName);
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    SkinRect tabRect;
    SkinRect activeTabRect;
    SkinRect focusTabRect;
    SkinRect mouseInTabRect;
    SkinRect clientRect;
    int bgPictureIndex = -1;
    SkinPoint leftTopPoint;
    SkinPoint rightTopPoint;
    SkinPoint leftBottomPoint;
    SkinPoint rightBottomPoint;
    int tabLeftOffset = 0;
    int tabRightOffset = 0;
    SkinRect tabsBGRect;
    std::string fontName; // "宋体" until a skin is read
    int fontHeight = 12;
    FontStyle fontStyle;
    SkinColor fontColor = 0;
    SkinColor activeFontColor = 0;
    SkinColor focusFontColor = 0;
    SkinColor mouseInFontColor = 0;
    std::string upDown;
};

// Scroll buttons: their corner points and client rectangle are always 0,0 and empty.
class DataSkinUpDownControl : public DataSkinCustomControl {
public:
    using DataSkinCustomControl::DataSkinCustomControl;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    SkinRect upButtonRect;
    SkinRect activeUpButtonRect;
    SkinRect downUpButtonRect;
    SkinRect downButtonRect;
    SkinRect activeDownButtonRect;
    SkinRect downDownButtonRect;
};

// The other kinds: the window uses none of them; they keep the keys of their base.
#define QUORVEL_SECTION_KIND(Name, Base)                                                                               \
    class Name : public Base {                                                                                         \
    public:                                                                                                            \
        using Base::Base;                                                                                              \
    };
QUORVEL_SECTION_KIND(DataSkinExPanelControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinButtonControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinMenuButtonControl, DataSkinButtonControl)
QUORVEL_SECTION_KIND(DataSkinCheckRadioControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinGaugeControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinSplitterControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinTrackBarControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinLabelControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinStdLabelControl, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinGridControl, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinMainMenuBar, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinControlBar, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinEditControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinMemoControl, DataSkinEditControl)
QUORVEL_SECTION_KIND(DataSkinListBox, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinCheckListBox, DataSkinListBox)
QUORVEL_SECTION_KIND(DataSkinComboBox, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinScrollBarControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinSpinEditControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinScrollBoxControl, DataSkinCustomControl)
QUORVEL_SECTION_KIND(DataSkinTreeView, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinBevel, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinSlider, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinListView, DataSkinControl)
QUORVEL_SECTION_KIND(DataSkinRichEdit, DataSkinControl)
#undef QUORVEL_SECTION_KIND

// The section object of the kind named in "SKINCONTROLS", or none for an unknown kind.
std::unique_ptr<DataSkinControl> CreateSkinControl(const std::string& kind, const std::string& name);

// "宋体" in the GB2312 code page, the face of sections that were never read.
extern const char* const DefaultSkinFontName;

} // namespace quorvel
