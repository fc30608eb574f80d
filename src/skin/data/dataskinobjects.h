#pragma once

#include "skin/definition/skinvalues.h"

#include <memory>
#include <string>

namespace quorvel {

class SkinIni;

// The section of one form skin object (caption, caption button, menu item ...), named IDName.
// LoadFromIni reads the section; SaveToIni erases it and writes every key back. Derived kinds
// handle their base's keys first.
class DataSkinObject {
public:
    explicit DataSkinObject(std::string idName);
    virtual ~DataSkinObject() = default;
    virtual void LoadFromIni(const SkinIni& ini);
    virtual void SaveToIni(SkinIni& ini) const;

    std::string IDName;
    std::string Kind; // the kind it was listed as, written back with it
    std::string hint;
    int activePictureIndex = -1;
    bool skinRectInAPicture = false;
    SkinRect skinRect;
    SkinRect activeSkinRect;
    SkinRect inactiveSkinRect;
    bool morphing = false;
    MorphKind morphKind = MorphKind::Default;
};

class DataSkinButton : public DataSkinObject {
public:
    using DataSkinObject::DataSkinObject;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    SkinRect downRect;
    SkinRect disableSkinRect; // key "disableskinrsect"
};

class DataSkinStdButton : public DataSkinButton {
public:
    using DataSkinButton::DataSkinButton;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    SkinCommand command = SkinCommand::Default;
    SkinRect restoreRect;
    SkinRect restoreActiveRect;
    SkinRect restoreDownRect;
    SkinRect restoreInactiveRect;
};

class DataSkinMainMenuBarButton : public DataSkinStdButton {
public:
    using DataSkinStdButton::DataSkinStdButton;
};

class DataSkinCaption : public DataSkinObject {
public:
    using DataSkinObject::DataSkinObject;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    SkinRect textRect;
    std::string fontName = "Arial";
    int fontHeight = 14;
    FontStyle fontStyle;
    SkinColor fontColor = 0;
    SkinColor activeFontColor = 0;
    TextAlignment alignment = TextAlignment::Center;
    bool shadow = false;
    SkinColor shadowColor = 0;
    SkinColor activeShadowColor = 0;
    SkinRect frameRect;
    SkinRect activeFrameRect;
    SkinRect frameTextRect;
    int frameLeftOffset = 0;
    int frameRightOffset = 0;
};

class DataSkinMenuItem : public DataSkinObject {
public:
    using DataSkinObject::DataSkinObject;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    int itemLeftOffset = 0;
    int itemRightOffset = 0;
    SkinRect dividerRect;
    int dividerLeftOffset = 0;
    int dividerRightOffset = 0;
    SkinRect textRect;
    std::string fontName = "Arial";
    int fontHeight = 14;
    FontStyle fontStyle;
    SkinColor fontColor = 0;
    SkinColor activeFontColor = 0;
    SkinColor unenabledFontColor = 0;
};

class DataSkinMainMenuItem : public DataSkinObject {
public:
    using DataSkinObject::DataSkinObject;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    int itemLeftOffset = 0;
    int itemRightOffset = 0;
    SkinRect downRect;
    SkinRect textRect;
    std::string fontName = "Arial";
    int fontHeight = 14;
    FontStyle fontStyle;
    SkinColor fontColor = 0;
    SkinColor activeFontColor = 0;
    SkinColor downFontColor = 0;
    SkinColor unenabledFontColor = 0;
};

class DataSkinMainMenuBarItem : public DataSkinMainMenuItem {
public:
    using DataSkinMainMenuItem::DataSkinMainMenuItem;
};

class DataSkinAnimate : public DataSkinObject {
public:
    using DataSkinObject::DataSkinObject;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;

    int countFrames = 1;
    bool cycle = false;
    bool buttonStyle = false;
    int timerInterval = 50;
    SkinCommand command = SkinCommand::Default;
};

// A user object reads only its "skinrect".
class DataUserObject : public DataSkinObject {
public:
    using DataSkinObject::DataSkinObject;
    void LoadFromIni(const SkinIni& ini) override;
    void SaveToIni(SkinIni& ini) const override;
};

// The object of the kind named in "SKINOBJECTS", or none for a kind the engine does not know.
std::unique_ptr<DataSkinObject> CreateSkinObject(const std::string& kind, const std::string& name);

} // namespace quorvel
