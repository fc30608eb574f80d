#include "skin/data/dataskincontrols.h"

#include "skin/definition/skinfields.h"
#include "skin/definition/skinini.h"

#include <functional>
#include <map>

namespace quorvel {

const char* const DefaultSkinFontName = "\xCB\xCE\xCC\xE5";

DataSkinControl::DataSkinControl(std::string idName) : IDName(std::move(idName)) { }

namespace {

// Each kind's own keys, in the order the definition has them; the base keys come first.

template <class F, class O>
void ControlFields(F& f, O& o)
{
    f.Integer("pictureindex", o.pictureIndex, -1);
    f.Integer("maskpictureindex", o.maskPictureIndex, -1);
    f.Rect("skinrect", o.skinRect);
}

template <class F, class O>
void CustomControlFields(F& f, O& o)
{
    f.Corners(o.leftTopPoint, o.rightTopPoint, o.leftBottomPoint, o.rightBottomPoint);
    f.Rect("clientrect", o.clientRect);
}

template <class F, class O>
void PanelFields(F& f, O& o)
{
    f.Integer("bgpictureindex", o.bgPictureIndex, -1);
    f.Rect("captionrect", o.captionRect);
    f.Alignment("alignment", o.alignment);
    f.Font(o.fontName, o.fontHeight, o.fontStyle);
    f.Integer("fontcolor", o.fontColor, 0);
    f.Rect("checkimagerect", o.checkImageRect);
    f.Rect("uncheckimagerect", o.uncheckImageRect);
}

template <class F, class O>
void TabFields(F& f, O& o)
{
    f.Rect("tabrect", o.tabRect);
    f.Rect("activetabrect", o.activeTabRect);
    f.Rect("focustabrect", o.focusTabRect);
    f.Rect("mouseintabrect", o.mouseInTabRect);
    f.Rect("clientrect", o.clientRect);
    f.Integer("bgpictureindex", o.bgPictureIndex, -1);
    f.Corners(o.leftTopPoint, o.rightTopPoint, o.leftBottomPoint, o.rightBottomPoint);
    f.Integer("tableftoffset", o.tabLeftOffset, 0);
    f.Integer("tabrightoffset", o.tabRightOffset, 0);
    f.Rect("tabsbgrect", o.tabsBGRect);
    f.Font(o.fontName, o.fontHeight, o.fontStyle);
    f.Integer("fontcolor", o.fontColor, 0);
    f.Integer("activefontcolor", o.activeFontColor, 0);
    f.Integer("focusfontcolor", o.focusFontColor, 0);
    f.Integer("mouseinfontcolor", o.mouseInFontColor, 0);
    f.Text("updown", o.upDown);
}

template <class F, class O>
void UpDownFields(F& f, O& o)
{
    f.Rect("upbuttonrect", o.upButtonRect);
    f.Rect("activeupbuttonrect", o.activeUpButtonRect);
    f.Rect("downupbuttonrect", o.downUpButtonRect);
    f.Rect("downbuttonrect", o.downButtonRect);
    f.Rect("activedownbuttonrect", o.activeDownButtonRect);
    f.Rect("downdownbuttonrect", o.downDownButtonRect);
}

} // namespace

void DataSkinControl::LoadFromIni(const SkinIni& ini)
{
    SkinFieldReader f(ini, IDName);
    ControlFields(f, *this);
}

void DataSkinControl::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(IDName);
    SkinFieldWriter f(ini, IDName);
    ControlFields(f, *this);
}

void DataSkinCustomControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinControl::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    CustomControlFields(f, *this);
}

void DataSkinCustomControl::SaveToIni(SkinIni& ini) const
{
    DataSkinControl::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    CustomControlFields(f, *this);
}

DataSkinPanelControl::DataSkinPanelControl(std::string idName)
    : DataSkinCustomControl(std::move(idName)), fontName(DefaultSkinFontName)
{
}

void DataSkinPanelControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinCustomControl::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    PanelFields(f, *this);
}

void DataSkinPanelControl::SaveToIni(SkinIni& ini) const
{
    DataSkinCustomControl::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    PanelFields(f, *this);
}

DataSkinTabControl::DataSkinTabControl(std::string idName)
    : DataSkinControl(std::move(idName)), fontName(DefaultSkinFontName)
{
}

void DataSkinTabControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinControl::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    TabFields(f, *this);
}

void DataSkinTabControl::SaveToIni(SkinIni& ini) const
{
    DataSkinControl::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    TabFields(f, *this);
}

void DataSkinUpDownControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinCustomControl::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    UpDownFields(f, *this);
    // An up-down control keeps no corner points and no client area, whatever its section says.
    leftTopPoint = rightTopPoint = leftBottomPoint = rightBottomPoint = SkinPoint{};
    clientRect = SkinRect{};
}

void DataSkinUpDownControl::SaveToIni(SkinIni& ini) const
{
    DataSkinCustomControl::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    UpDownFields(f, *this);
}

std::unique_ptr<DataSkinControl> CreateSkinControl(const std::string& kind, const std::string& name)
{
    using Make = std::function<std::unique_ptr<DataSkinControl>(const std::string&)>;
    static const std::map<std::string, Make> kinds = {
        {"panel", [](const std::string& n) { return std::make_unique<DataSkinPanelControl>(n); }},
        {"expanel", [](const std::string& n) { return std::make_unique<DataSkinExPanelControl>(n); }},
        {"menubutton", [](const std::string& n) { return std::make_unique<DataSkinMenuButtonControl>(n); }},
        {"button", [](const std::string& n) { return std::make_unique<DataSkinButtonControl>(n); }},
        {"checkradio", [](const std::string& n) { return std::make_unique<DataSkinCheckRadioControl>(n); }},
        {"gauge", [](const std::string& n) { return std::make_unique<DataSkinGaugeControl>(n); }},
        {"splitter", [](const std::string& n) { return std::make_unique<DataSkinSplitterControl>(n); }},
        {"trackbar", [](const std::string& n) { return std::make_unique<DataSkinTrackBarControl>(n); }},
        {"label", [](const std::string& n) { return std::make_unique<DataSkinLabelControl>(n); }},
        {"stdlabel", [](const std::string& n) { return std::make_unique<DataSkinStdLabelControl>(n); }},
        {"updown", [](const std::string& n) { return std::make_unique<DataSkinUpDownControl>(n); }},
        {"grid", [](const std::string& n) { return std::make_unique<DataSkinGridControl>(n); }},
        {"tab", [](const std::string& n) { return std::make_unique<DataSkinTabControl>(n); }},
        {"mainmenubar", [](const std::string& n) { return std::make_unique<DataSkinMainMenuBar>(n); }},
        {"controlbar", [](const std::string& n) { return std::make_unique<DataSkinControlBar>(n); }},
        {"memo", [](const std::string& n) { return std::make_unique<DataSkinMemoControl>(n); }},
        {"edit", [](const std::string& n) { return std::make_unique<DataSkinEditControl>(n); }},
        {"checklistbox", [](const std::string& n) { return std::make_unique<DataSkinCheckListBox>(n); }},
        {"listbox", [](const std::string& n) { return std::make_unique<DataSkinListBox>(n); }},
        {"combobox", [](const std::string& n) { return std::make_unique<DataSkinComboBox>(n); }},
        {"scrollbar", [](const std::string& n) { return std::make_unique<DataSkinScrollBarControl>(n); }},
        {"spinedit", [](const std::string& n) { return std::make_unique<DataSkinSpinEditControl>(n); }},
        {"scrollbox", [](const std::string& n) { return std::make_unique<DataSkinScrollBoxControl>(n); }},
        {"treeview", [](const std::string& n) { return std::make_unique<DataSkinTreeView>(n); }},
        {"bevel", [](const std::string& n) { return std::make_unique<DataSkinBevel>(n); }},
        {"slider", [](const std::string& n) { return std::make_unique<DataSkinSlider>(n); }},
        {"listview", [](const std::string& n) { return std::make_unique<DataSkinListView>(n); }},
        {"richedit", [](const std::string& n) { return std::make_unique<DataSkinRichEdit>(n); }},
    };
    const auto it = kinds.find(kind);
    if (it == kinds.end())
        return nullptr;
    auto control = it->second(name);
    control->Kind = kind;
    return control;
}

} // namespace quorvel
