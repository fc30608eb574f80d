#include "dataskinobjects.h"

#include "skinini.h"

namespace quorvel {

using namespace skinvalue;

DataSkinObject::DataSkinObject(std::string idName) : IDName(std::move(idName)) {}

void DataSkinObject::LoadFromIni(const SkinIni& ini)
{
    const std::string& s = IDName;
    hint = ini.ReadString(s, "hint", "");
    activePictureIndex = ReadInteger(ini, s, "activepictureindex", -1);
    skinRectInAPicture = ReadBoolean(ini, s, "skinrectinapicture");
    skinRect = ReadRect(ini, s, "skinrect");
    activeSkinRect = ReadRect(ini, s, "activeskinrect");
    inactiveSkinRect = ReadRect(ini, s, "inactiveskinrect");
    morphing = ReadBoolean(ini, s, "morphing");
    morphKind = ReadMorphKind(ini, s, "morphkind");
}

void DataSkinObject::SaveToIni(SkinIni& ini) const
{
    const std::string& s = IDName;
    ini.EraseSection(s);
    ini.WriteString(s, "hint", hint);
    WriteInteger(ini, s, "activepictureindex", activePictureIndex);
    WriteBoolean(ini, s, "skinrectinapicture", skinRectInAPicture);
    WriteRect(ini, s, "skinrect", skinRect);
    WriteRect(ini, s, "activeskinrect", activeSkinRect);
    WriteRect(ini, s, "inactiveskinrect", inactiveSkinRect);
    WriteBoolean(ini, s, "morphing", morphing);
    WriteMorphKind(ini, s, "morphkind", morphKind);
}

void DataSkinButton::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    downRect = ReadRect(ini, IDName, "downrect");
    disableSkinRect = ReadRect(ini, IDName, "disableskinrsect");
}

void DataSkinButton::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    WriteRect(ini, IDName, "downrect", downRect);
    WriteRect(ini, IDName, "disableskinrsect", disableSkinRect);
}

void DataSkinStdButton::LoadFromIni(const SkinIni& ini)
{
    DataSkinButton::LoadFromIni(ini);
    const std::string& s = IDName;
    command = ReadCommand(ini, s, "command");
    restoreRect = ReadRect(ini, s, "restorerect");
    restoreActiveRect = ReadRect(ini, s, "restoreactiverect");
    restoreDownRect = ReadRect(ini, s, "restoredownrect");
    restoreInactiveRect = ReadRect(ini, s, "restoreinactiverect");
}

void DataSkinStdButton::SaveToIni(SkinIni& ini) const
{
    DataSkinButton::SaveToIni(ini);
    const std::string& s = IDName;
    WriteCommand(ini, s, "command", command);
    WriteRect(ini, s, "restorerect", restoreRect);
    WriteRect(ini, s, "restoreactiverect", restoreActiveRect);
    WriteRect(ini, s, "restoredownrect", restoreDownRect);
    WriteRect(ini, s, "restoreinactiverect", restoreInactiveRect);
}

void DataSkinCaption::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    const std::string& s = IDName;
    textRect = ReadRect(ini, s, "textrect");
    ReadFont(ini, s, fontName, fontHeight, fontStyle);
    fontColor = ReadInteger(ini, s, "fontcolor", 0);
    activeFontColor = ReadInteger(ini, s, "activefontcolor", 0);
    alignment = ReadAlignment(ini, s, "alignment");
    shadow = ReadBoolean(ini, s, "shadow");
    shadowColor = ReadInteger(ini, s, "shadowcolor", 0);
    activeShadowColor = ReadInteger(ini, s, "activeshadowcolor", 0);
    frameRect = ReadRect(ini, s, "framerect");
    activeFrameRect = ReadRect(ini, s, "activeframerect");
    frameTextRect = ReadRect(ini, s, "frametextrect");
    frameLeftOffset = ReadInteger(ini, s, "frameleftoffset", 0);
    frameRightOffset = ReadInteger(ini, s, "framerightoffset", 0);
}

void DataSkinCaption::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    const std::string& s = IDName;
    WriteRect(ini, s, "textrect", textRect);
    WriteFont(ini, s, fontName, fontHeight, fontStyle);
    WriteInteger(ini, s, "fontcolor", fontColor);
    WriteInteger(ini, s, "activefontcolor", activeFontColor);
    WriteAlignment(ini, s, "alignment", alignment);
    WriteBoolean(ini, s, "shadow", shadow);
    WriteInteger(ini, s, "shadowcolor", shadowColor);
    WriteInteger(ini, s, "activeshadowcolor", activeShadowColor);
    WriteRect(ini, s, "framerect", frameRect);
    WriteRect(ini, s, "activeframerect", activeFrameRect);
    WriteRect(ini, s, "frametextrect", frameTextRect);
    WriteInteger(ini, s, "frameleftoffset", frameLeftOffset);
    WriteInteger(ini, s, "framerightoffset", frameRightOffset);
}

void DataSkinMenuItem::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    const std::string& s = IDName;
    itemLeftOffset = ReadInteger(ini, s, "itemleftoffset", 0);
    itemRightOffset = ReadInteger(ini, s, "itemrightoffset", 0);
    dividerRect = ReadRect(ini, s, "dividerrect");
    dividerLeftOffset = ReadInteger(ini, s, "dividerleftoffset", 0);
    dividerRightOffset = ReadInteger(ini, s, "dividerrightoffset", 0);
    textRect = ReadRect(ini, s, "textrect");
    ReadFont(ini, s, fontName, fontHeight, fontStyle);
    fontColor = ReadInteger(ini, s, "fontcolor", 0);
    activeFontColor = ReadInteger(ini, s, "activefontcolor", 0);
    unenabledFontColor = ReadInteger(ini, s, "unenabledfontcolor", 0);
}

void DataSkinMenuItem::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    const std::string& s = IDName;
    WriteInteger(ini, s, "itemleftoffset", itemLeftOffset);
    WriteInteger(ini, s, "itemrightoffset", itemRightOffset);
    WriteRect(ini, s, "dividerrect", dividerRect);
    WriteInteger(ini, s, "dividerleftoffset", dividerLeftOffset);
    WriteInteger(ini, s, "dividerrightoffset", dividerRightOffset);
    WriteRect(ini, s, "textrect", textRect);
    WriteFont(ini, s, fontName, fontHeight, fontStyle);
    WriteInteger(ini, s, "fontcolor", fontColor);
    WriteInteger(ini, s, "activefontcolor", activeFontColor);
    WriteInteger(ini, s, "unenabledfontcolor", unenabledFontColor);
}

void DataSkinMainMenuItem::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    const std::string& s = IDName;
    itemLeftOffset = ReadInteger(ini, s, "itemleftoffset", 0);
    itemRightOffset = ReadInteger(ini, s, "itemrightoffset", 0);
    downRect = ReadRect(ini, s, "downrect");
    textRect = ReadRect(ini, s, "textrect");
    ReadFont(ini, s, fontName, fontHeight, fontStyle);
    fontColor = ReadInteger(ini, s, "fontcolor", 0);
    activeFontColor = ReadInteger(ini, s, "activefontcolor", 0);
    downFontColor = ReadInteger(ini, s, "downfontcolor", 0);
    unenabledFontColor = ReadInteger(ini, s, "unenabledfontColor", 0);
}

void DataSkinMainMenuItem::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    const std::string& s = IDName;
    WriteInteger(ini, s, "itemleftoffset", itemLeftOffset);
    WriteInteger(ini, s, "itemrightoffset", itemRightOffset);
    WriteRect(ini, s, "downrect", downRect);
    WriteRect(ini, s, "textrect", textRect);
    WriteFont(ini, s, fontName, fontHeight, fontStyle);
    WriteInteger(ini, s, "fontcolor", fontColor);
    WriteInteger(ini, s, "activefontcolor", activeFontColor);
    WriteInteger(ini, s, "downfontcolor", downFontColor);
    WriteInteger(ini, s, "unenabledfontColor", unenabledFontColor);
}

void DataSkinAnimate::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    const std::string& s = IDName;
    countFrames = ReadInteger(ini, s, "countframes", 1);
    cycle = ReadBoolean(ini, s, "cycle");
    buttonStyle = ReadBoolean(ini, s, "buttonstyle");
    timerInterval = ReadInteger(ini, s, "timerinterval", 50);
    command = ReadCommand(ini, s, "command");
    morphing = false; // an animation plays its frames instead
}

void DataSkinAnimate::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    const std::string& s = IDName;
    WriteInteger(ini, s, "countframes", countFrames);
    WriteBoolean(ini, s, "cycle", cycle);
    WriteBoolean(ini, s, "buttonstyle", buttonStyle);
    WriteInteger(ini, s, "timerinterval", timerInterval);
    WriteCommand(ini, s, "command", command);
}

void DataUserObject::LoadFromIni(const SkinIni& ini) { skinRect = ReadRect(ini, IDName, "skinrect"); }

void DataUserObject::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(IDName);
    WriteRect(ini, IDName, "skinrect", skinRect);
}

namespace {

std::unique_ptr<DataSkinObject> MakeSkinObject(const std::string& kind, const std::string& name)
{
    if (kind == "menuitem")
        return std::make_unique<DataSkinMenuItem>(name);
    if (kind == "mainmenubaritem")
        return std::make_unique<DataSkinMainMenuBarItem>(name);
    if (kind == "stdbutton")
        return std::make_unique<DataSkinStdButton>(name);
    if (kind == "mainmenubarbutton")
        return std::make_unique<DataSkinMainMenuBarButton>(name);
    if (kind == "button")
        return std::make_unique<DataSkinButton>(name);
    if (kind == "caption")
        return std::make_unique<DataSkinCaption>(name);
    if (kind == "animate")
        return std::make_unique<DataSkinAnimate>(name);
    if (kind == "userobject")
        return std::make_unique<DataUserObject>(name);
    return nullptr;
}

} // namespace

std::unique_ptr<DataSkinObject> CreateSkinObject(const std::string& kind, const std::string& name)
{
    auto object = MakeSkinObject(kind, name);
    if (object)
        object->Kind = kind;
    return object;
}

} // namespace quorvel
