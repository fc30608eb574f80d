#include "dataskincontrols.h"

#include "skinini.h"

#include <functional>
#include <map>

namespace quorvel {

using namespace skinvalue;

const char* const DefaultSkinFontName = "\xCB\xCE\xCC\xE5";

DataSkinControl::DataSkinControl(std::string idName) : IDName(std::move(idName)) {}

void DataSkinControl::LoadFromIni(const SkinIni& ini)
{
    pictureIndex = ReadInteger(ini, IDName, "pictureindex", -1);
    maskPictureIndex = ReadInteger(ini, IDName, "maskpictureindex", -1);
    skinRect = ReadRect(ini, IDName, "skinrect");
}

void DataSkinControl::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(IDName);
    WriteInteger(ini, IDName, "pictureindex", pictureIndex);
    WriteInteger(ini, IDName, "maskpictureindex", maskPictureIndex);
    WriteRect(ini, IDName, "skinrect", skinRect);
}

void DataSkinCustomControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinControl::LoadFromIni(ini);
    ReadCorners(ini, IDName, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    clientRect = ReadRect(ini, IDName, "clientrect");
}

void DataSkinCustomControl::SaveToIni(SkinIni& ini) const
{
    DataSkinControl::SaveToIni(ini);
    WriteCorners(ini, IDName, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    WriteRect(ini, IDName, "clientrect", clientRect);
}

DataSkinPanelControl::DataSkinPanelControl(std::string idName)
    : DataSkinCustomControl(std::move(idName)), fontName(DefaultSkinFontName)
{
}

void DataSkinPanelControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinCustomControl::LoadFromIni(ini);
    const std::string& s = IDName;
    bgPictureIndex = ReadInteger(ini, s, "bgpictureindex", -1);
    captionRect = ReadRect(ini, s, "captionrect");
    alignment = ReadAlignment(ini, s, "alignment");
    ReadFont(ini, s, fontName, fontHeight, fontStyle);
    fontColor = ReadInteger(ini, s, "fontcolor", 0);
    checkImageRect = ReadRect(ini, s, "checkimagerect");
    uncheckImageRect = ReadRect(ini, s, "uncheckimagerect");
}

void DataSkinPanelControl::SaveToIni(SkinIni& ini) const
{
    DataSkinCustomControl::SaveToIni(ini);
    const std::string& s = IDName;
    WriteInteger(ini, s, "bgpictureindex", bgPictureIndex);
    WriteRect(ini, s, "captionrect", captionRect);
    WriteAlignment(ini, s, "alignment", alignment);
    WriteFont(ini, s, fontName, fontHeight, fontStyle);
    WriteInteger(ini, s, "fontcolor", fontColor);
    WriteRect(ini, s, "checkimagerect", checkImageRect);
    WriteRect(ini, s, "uncheckimagerect", uncheckImageRect);
}

DataSkinTabControl::DataSkinTabControl(std::string idName)
    : DataSkinControl(std::move(idName)), fontName(DefaultSkinFontName)
{
}

void DataSkinTabControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinControl::LoadFromIni(ini);
    const std::string& s = IDName;
    tabRect = ReadRect(ini, s, "tabrect");
    activeTabRect = ReadRect(ini, s, "activetabrect");
    focusTabRect = ReadRect(ini, s, "focustabrect");
    mouseInTabRect = ReadRect(ini, s, "mouseintabrect");
    clientRect = ReadRect(ini, s, "clientrect");
    bgPictureIndex = ReadInteger(ini, s, "bgpictureindex", -1);
    ReadCorners(ini, s, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    tabLeftOffset = ReadInteger(ini, s, "tableftoffset", 0);
    tabRightOffset = ReadInteger(ini, s, "tabrightoffset", 0);
    tabsBGRect = ReadRect(ini, s, "tabsbgrect");
    ReadFont(ini, s, fontName, fontHeight, fontStyle);
    fontColor = ReadInteger(ini, s, "fontcolor", 0);
    activeFontColor = ReadInteger(ini, s, "activefontcolor", 0);
    focusFontColor = ReadInteger(ini, s, "focusfontcolor", 0);
    mouseInFontColor = ReadInteger(ini, s, "mouseinfontcolor", 0);
    upDown = ini.ReadString(s, "updown", "");
}

void DataSkinTabControl::SaveToIni(SkinIni& ini) const
{
    DataSkinControl::SaveToIni(ini);
    const std::string& s = IDName;
    WriteRect(ini, s, "tabrect", tabRect);
    WriteRect(ini, s, "activetabrect", activeTabRect);
    WriteRect(ini, s, "focustabrect", focusTabRect);
    WriteRect(ini, s, "mouseintabrect", mouseInTabRect);
    WriteRect(ini, s, "clientrect", clientRect);
    WriteInteger(ini, s, "bgpictureindex", bgPictureIndex);
    WriteCorners(ini, s, leftTopPoint, rightTopPoint, leftBottomPoint, rightBottomPoint);
    WriteInteger(ini, s, "tableftoffset", tabLeftOffset);
    WriteInteger(ini, s, "tabrightoffset", tabRightOffset);
    WriteRect(ini, s, "tabsbgrect", tabsBGRect);
    WriteFont(ini, s, fontName, fontHeight, fontStyle);
    WriteInteger(ini, s, "fontcolor", fontColor);
    WriteInteger(ini, s, "activefontcolor", activeFontColor);
    WriteInteger(ini, s, "focusfontcolor", focusFontColor);
    WriteInteger(ini, s, "mouseinfontcolor", mouseInFontColor);
    ini.WriteString(s, "updown", upDown);
}

void DataSkinUpDownControl::LoadFromIni(const SkinIni& ini)
{
    DataSkinCustomControl::LoadFromIni(ini);
    const std::string& s = IDName;
    upButtonRect = ReadRect(ini, s, "upbuttonrect");
    activeUpButtonRect = ReadRect(ini, s, "activeupbuttonrect");
    downUpButtonRect = ReadRect(ini, s, "downupbuttonrect");
    downButtonRect = ReadRect(ini, s, "downbuttonrect");
    activeDownButtonRect = ReadRect(ini, s, "activedownbuttonrect");
    downDownButtonRect = ReadRect(ini, s, "downdownbuttonrect");
    leftTopPoint = rightTopPoint = leftBottomPoint = rightBottomPoint = SkinPoint{};
    clientRect = SkinRect{};
}

void DataSkinUpDownControl::SaveToIni(SkinIni& ini) const
{
    DataSkinCustomControl::SaveToIni(ini);
    const std::string& s = IDName;
    WriteRect(ini, s, "upbuttonrect", upButtonRect);
    WriteRect(ini, s, "activeupbuttonrect", activeUpButtonRect);
    WriteRect(ini, s, "downupbuttonrect", downUpButtonRect);
    WriteRect(ini, s, "downbuttonrect", downButtonRect);
    WriteRect(ini, s, "activedownbuttonrect", activeDownButtonRect);
    WriteRect(ini, s, "downdownbuttonrect", downDownButtonRect);
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
