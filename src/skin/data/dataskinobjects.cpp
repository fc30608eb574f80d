#include "skin/data/dataskinobjects.h"

#include "skin/definition/skinfields.h"
#include "skin/definition/skinini.h"

namespace quorvel {

DataSkinObject::DataSkinObject(std::string idName) : IDName(std::move(idName)) { }

namespace {

// Each kind's own keys, in the order the definition has them; the base keys come first.

template <class F, class O>
void ObjectFields(F& f, O& o)
{
    f.Text("hint", o.hint);
    f.Integer("activepictureindex", o.activePictureIndex, -1);
    f.Boolean("skinrectinapicture", o.skinRectInAPicture);
    f.Rect("skinrect", o.skinRect);
    f.Rect("activeskinrect", o.activeSkinRect);
    f.Rect("inactiveskinrect", o.inactiveSkinRect);
    f.Boolean("morphing", o.morphing);
    f.Morph("morphkind", o.morphKind);
}

template <class F, class O>
void ButtonFields(F& f, O& o)
{
    f.Rect("downrect", o.downRect);
    f.Rect("disableskinrsect", o.disableSkinRect);
}

template <class F, class O>
void StdButtonFields(F& f, O& o)
{
    f.Command("command", o.command);
    f.Rect("restorerect", o.restoreRect);
    f.Rect("restoreactiverect", o.restoreActiveRect);
    f.Rect("restoredownrect", o.restoreDownRect);
    f.Rect("restoreinactiverect", o.restoreInactiveRect);
}

template <class F, class O>
void CaptionFields(F& f, O& o)
{
    f.Rect("textrect", o.textRect);
    f.Font(o.fontName, o.fontHeight, o.fontStyle);
    f.Integer("fontcolor", o.fontColor, 0);
    f.Integer("activefontcolor", o.activeFontColor, 0);
    f.Alignment("alignment", o.alignment);
    f.Boolean("shadow", o.shadow);
    f.Integer("shadowcolor", o.shadowColor, 0);
    f.Integer("activeshadowcolor", o.activeShadowColor, 0);
    f.Rect("framerect", o.frameRect);
    f.Rect("activeframerect", o.activeFrameRect);
    f.Rect("frametextrect", o.frameTextRect);
    f.Integer("frameleftoffset", o.frameLeftOffset, 0);
    f.Integer("framerightoffset", o.frameRightOffset, 0);
}

template <class F, class O>
void MenuItemFields(F& f, O& o)
{
    f.Integer("itemleftoffset", o.itemLeftOffset, 0);
    f.Integer("itemrightoffset", o.itemRightOffset, 0);
    f.Rect("dividerrect", o.dividerRect);
    f.Integer("dividerleftoffset", o.dividerLeftOffset, 0);
    f.Integer("dividerrightoffset", o.dividerRightOffset, 0);
    f.Rect("textrect", o.textRect);
    f.Font(o.fontName, o.fontHeight, o.fontStyle);
    f.Integer("fontcolor", o.fontColor, 0);
    f.Integer("activefontcolor", o.activeFontColor, 0);
    f.Integer("unenabledfontcolor", o.unenabledFontColor, 0);
}

template <class F, class O>
void MainMenuItemFields(F& f, O& o)
{
    f.Integer("itemleftoffset", o.itemLeftOffset, 0);
    f.Integer("itemrightoffset", o.itemRightOffset, 0);
    f.Rect("downrect", o.downRect);
    f.Rect("textrect", o.textRect);
    f.Font(o.fontName, o.fontHeight, o.fontStyle);
    f.Integer("fontcolor", o.fontColor, 0);
    f.Integer("activefontcolor", o.activeFontColor, 0);
    f.Integer("downfontcolor", o.downFontColor, 0);
    f.Integer("unenabledfontColor", o.unenabledFontColor, 0);
}

template <class F, class O>
void AnimateFields(F& f, O& o)
{
    f.Integer("countframes", o.countFrames, 1);
    f.Boolean("cycle", o.cycle);
    f.Boolean("buttonstyle", o.buttonStyle);
    f.Integer("timerinterval", o.timerInterval, 50);
    f.Command("command", o.command);
}

} // namespace

void DataSkinObject::LoadFromIni(const SkinIni& ini)
{
    SkinFieldReader f(ini, IDName);
    ObjectFields(f, *this);
}

void DataSkinObject::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(IDName);
    SkinFieldWriter f(ini, IDName);
    ObjectFields(f, *this);
}

void DataSkinButton::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    ButtonFields(f, *this);
}

void DataSkinButton::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    ButtonFields(f, *this);
}

void DataSkinStdButton::LoadFromIni(const SkinIni& ini)
{
    DataSkinButton::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    StdButtonFields(f, *this);
}

void DataSkinStdButton::SaveToIni(SkinIni& ini) const
{
    DataSkinButton::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    StdButtonFields(f, *this);
}

void DataSkinCaption::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    CaptionFields(f, *this);
}

void DataSkinCaption::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    CaptionFields(f, *this);
}

void DataSkinMenuItem::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    MenuItemFields(f, *this);
}

void DataSkinMenuItem::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    MenuItemFields(f, *this);
}

void DataSkinMainMenuItem::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    MainMenuItemFields(f, *this);
}

void DataSkinMainMenuItem::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    MainMenuItemFields(f, *this);
}

void DataSkinAnimate::LoadFromIni(const SkinIni& ini)
{
    DataSkinObject::LoadFromIni(ini);
    SkinFieldReader f(ini, IDName);
    AnimateFields(f, *this);
    morphing = false; // an animation plays its frames instead
}

void DataSkinAnimate::SaveToIni(SkinIni& ini) const
{
    DataSkinObject::SaveToIni(ini);
    SkinFieldWriter f(ini, IDName);
    AnimateFields(f, *this);
}

void DataUserObject::LoadFromIni(const SkinIni& ini) { SkinFieldReader(ini, IDName).Rect("skinrect", skinRect); }

void DataUserObject::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection(IDName);
    SkinFieldWriter(ini, IDName).Rect("skinrect", skinRect);
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
