#pragma once

#include "skin/data/dataskincontrols.h"
#include "skin/data/dataskinobjects.h"
#include "skin/data/resourcestrdata.h"
#include "skin/data/skinwindowdata.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skinbitmap.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class CompressedStoredSkin;
class ResourceStrData;
class SkinIni;

// What changed in a skin data, as its skinChanged signal tells it; the menu messages are the
// skinned menu's notices to its form.
enum SkinMessage : int {
    SKINMSG_BEFORE_CHANGE = 1225,
    SKINMSG_CHANGED = 1226,
    SKINMSG_AFTER_CHANGED = 1227,
    // From a skinned menu to its form and its opener: the last popup closed; a command ran.
    SKINMSG_MENU_CLOSED = 1228,
    SKINMSG_MENU_COMMAND = 1229,
    SKINMSG_STRINGS_CHANGED = 1274,
};

// The event that carries a skinned menu's notice to its form and its opener.
class SkinMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();
    SkinMessageEvent(int message, class SkinData* data);
    int Message;
    SkinData* Data;
    int Param = 1000;
};

// The loaded skin: frame bitmaps, numbered pictures, frame geometry, popup and hint window
// data, form skin objects and control sections. Everything skinned draws from it, and hears of
// its changes through skinChanged.
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

    // The whole load, with the change signals around it. On failure the error propagates and
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

    // Ties the receiver to the changes of the skin data: applySkin runs after each change, as
    // long as both live. A receiver has one tie: a later call replaces it (no data: none).
    static void FollowChanges(QObject* receiver, SkinData* data, std::function<void()> applySkin);

signals:
    // Before a change (SKINMSG_BEFORE_CHANGE: what was drawn from the old skin must go), after it
    // (SKINMSG_CHANGED, then SKINMSG_AFTER_CHANGED), and when the skin's strings change
    // (SKINMSG_STRINGS_CHANGED). Handlers run before the emitting call returns.
    void skinChanged(quorvel::SkinMessage kind);

private:
    QPointer<CompressedStoredSkin> storedSkin_;
    QPointer<ResourceStrData> resourceStrData_;
};

} // namespace quorvel
