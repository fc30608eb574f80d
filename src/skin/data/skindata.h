#pragma once

#include "skin/store/compressedstoredskin.h"
#include "skin/data/dataskincontrols.h"
#include "skin/data/dataskinobjects.h"
#include "skin/data/resourcestrdata.h"
#include "skin/store/skinbitmap.h"
#include "skin/data/skinwindowdata.h"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class CompressedStoredSkin;
class ResourceStrData;
class SkinIni;

// Skin change messages, sent to every form when the skin changes.
enum SkinMessage : int {
    SKINMSG_BEFORE_CHANGE = 1225,
    SKINMSG_CHANGED = 1226,
    SKINMSG_AFTER_CHANGED = 1227,
    // From a skinned menu to its form and its opener: the last popup closed; a command ran.
    SKINMSG_MENU_CLOSED = 1228,
    SKINMSG_MENU_COMMAND = 1229,
    SKINMSG_STRINGS_CHANGED = 1274,
};

// The event that carries a skin message to a form: the message, the skin data, and 1000.
class SkinMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();
    SkinMessageEvent(int message, class SkinData* data);
    int Message;
    SkinData* Data;
    int Param = 1000;
};

// The loaded skin: frame bitmaps, numbered pictures, frame geometry, popup and hint window
// data, form skin objects and control sections. Everything skinned draws from it.
class SkinData : public QObject {
    Q_OBJECT
public:
    explicit SkinData(QObject* owner = nullptr);
    ~SkinData() override;

    bool Empty = true;
    std::vector<std::unique_ptr<DataSkinObject>> SkinObjects;
    std::vector<std::unique_ptr<DataSkinControl>> SkinControls;
    std::vector<SkinBitmap> ActivePictures;
    std::vector<std::string> ActivePictureNames;
    SkinBitmap Picture, InActivePicture, Mask;
    std::string PictureName, InActivePictureName, MaskName;
    std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;
    FormInfo Info;
    DataSkinPopupWindow PopupWindow;
    DataSkinHintWindow HintWindow;

    CompressedStoredSkin* GetCompressedStoredSkin() const { return storedSkin_; }
    // Stores the reference and loads that skin at once.
    void SetCompressedStoredSkin(CompressedStoredSkin* storedSkin);
    ResourceStrData* GetResourceStrData() const { return resourceStrData_; }
    void SetResourceStrData(ResourceStrData* data);

    // The whole load, with the change messages around it. On failure the error propagates and
    // the skin stays empty.
    void LoadCompressedStoredSkin(CompressedStoredSkin& storedSkin);
    // Builds the skin from parsed definition lines and the container's bitmaps (used by the load).
    void LoadFromDefinition(const SkinIni& ini);
    // Writes every section back, as the skin would be stored.
    void SaveToIni(SkinIni& ini) const;

    int FindObjectIndex(const std::string& name) const;
    int FindControlIndex(const std::string& name) const;
    void ClearSkinLists();
    void ClearSkin();
    // Sends the message to the owner form first, then to every other form with a skinned frame
    // (SkinMessageForms); each send returns when the form has handled it.
    void BroadcastSkinMessage(int message);

private:
    QPointer<CompressedStoredSkin> storedSkin_;
    QPointer<ResourceStrData> resourceStrData_;
};

} // namespace quorvel
