#include "skin/data/skindata.h"

#include "skin/data/resourcestrdata.h"
#include "skin/definition/skinini.h"
#include "skin/store/compressedstoredskin.h"
#include "skin/store/skincontainer.h"

namespace quorvel {

using namespace skinvalue;

QEvent::Type SkinMessageEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

SkinMessageEvent::SkinMessageEvent(int message, SkinData* data) : QEvent(EventType()), Message(message), Data(data) { }

SkinData::SkinData(QObject* owner) : QObject(owner) { }

SkinData::~SkinData()
{
    Empty = true;
    ClearSkinLists();
}

void SkinData::SetCompressedStoredSkin(CompressedStoredSkin* storedSkin)
{
    storedSkin_ = storedSkin; // a guarded pointer: it forgets a stored skin that is destroyed
    if (storedSkin)
        LoadCompressedStoredSkin(*storedSkin);
}

void SkinData::SetResourceStrData(ResourceStrData* data)
{
    resourceStrData_ = data;
    emit skinChanged(SKINMSG_STRINGS_CHANGED);
}

void SkinData::LoadCompressedStoredSkin(CompressedStoredSkin& storedSkin)
{
    if (storedSkin.IsEmpty())
        return;
    Empty = true;
    emit skinChanged(SKINMSG_BEFORE_CHANGE);
    ClearSkin();
    SkinContainer container;
    {
        MemoryStream plain;
        storedSkin.ExtractContainer(plain);
        plain.SetPosition(0);
        container = SkinContainer::Read(plain);
    }
    if (container.version > SkinContainer::Version)
        return;
    Picture = std::move(container.picture);
    InActivePicture = std::move(container.inactivePicture);
    Mask = std::move(container.mask);
    ActivePictures = std::move(container.pictures);
    try {
        LoadFromDefinition(SkinIni(container.definition));
    } catch (...) {
        // A skin read only in part is no skin.
        ClearSkin();
        throw;
    }
    Empty = false;
    emit skinChanged(SKINMSG_CHANGED);
    emit skinChanged(SKINMSG_AFTER_CHANGED);
}

void SkinData::LoadFromDefinition(const SkinIni& ini)
{
    SkinName = ini.ReadString("VERSION", "skinname", "");
    SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
    AuthorEmail = ini.ReadString("VERSION", "authoremail", "");
    AuthorURL = ini.ReadString("VERSION", "authorurl", "");
    SkinComments = ini.ReadString("VERSION", "skincomments", "");

    PictureName = ini.ReadString("PICTURES", "picture", "");
    InActivePictureName = ini.ReadString("PICTURES", "inactivepicture", "");
    MaskName = ini.ReadString("PICTURES", "mask", "");
    const int pictures = ReadCount(ini, "PICTURES", "activepicturescount");
    for (int i = 0; i < pictures; ++i)
        ActivePictureNames.push_back(ini.ReadString("PICTURES", std::to_string(i), ""));

    Info.LoadFromIni(ini, !MaskName.empty());
    PopupWindow.LoadFromIni(ini);
    HintWindow.LoadFromIni(ini);

    std::string name, kind;
    const int objects = ReadCount(ini, "SKINOBJECTS", "count");
    for (int i = 0; i < objects; ++i) {
        ReadListEntry(ini, "SKINOBJECTS", std::to_string(i), name, kind);
        if (auto object = CreateSkinObject(kind, name)) {
            object->LoadFromIni(ini);
            SkinObjects.push_back(std::move(object));
        }
    }
    const int controls = ReadCount(ini, "SKINCONTROLS", "count");
    for (int i = 0; i < controls; ++i) {
        ReadListEntry(ini, "SKINCONTROLS", std::to_string(i), name, kind);
        if (auto control = CreateSkinControl(kind, name)) {
            control->LoadFromIni(ini);
            SkinControls.push_back(std::move(control));
        }
    }
}

void SkinData::SaveToIni(SkinIni& ini) const
{
    ini.EraseSection("VERSION");
    ini.WriteString("VERSION", "skinname", SkinName);
    ini.WriteString("VERSION", "skinauthor", SkinAuthor);
    ini.WriteString("VERSION", "authoremail", AuthorEmail);
    ini.WriteString("VERSION", "authorurl", AuthorURL);
    ini.WriteString("VERSION", "skincomments", SkinComments);
    ini.EraseSection("PICTURES");
    ini.WriteString("PICTURES", "picture", PictureName);
    ini.WriteString("PICTURES", "inactivepicture", InActivePictureName);
    ini.WriteString("PICTURES", "mask", MaskName);
    WriteInteger(ini, "PICTURES", "activepicturescount", static_cast<int>(ActivePictureNames.size()));
    for (std::size_t i = 0; i < ActivePictureNames.size(); ++i)
        ini.WriteString("PICTURES", std::to_string(i), ActivePictureNames[i]);
    Info.SaveToIni(ini);
    PopupWindow.SaveToIni(ini);
    HintWindow.SaveToIni(ini);
    ini.EraseSection("SKINOBJECTS");
    WriteInteger(ini, "SKINOBJECTS", "count", static_cast<int>(SkinObjects.size()));
    for (std::size_t i = 0; i < SkinObjects.size(); ++i)
        ini.WriteString("SKINOBJECTS", std::to_string(i), SkinObjects[i]->IDName + ":" + SkinObjects[i]->Kind);
    ini.EraseSection("SKINCONTROLS");
    WriteInteger(ini, "SKINCONTROLS", "count", static_cast<int>(SkinControls.size()));
    for (std::size_t i = 0; i < SkinControls.size(); ++i)
        ini.WriteString("SKINCONTROLS", std::to_string(i), SkinControls[i]->IDName + ":" + SkinControls[i]->Kind);
    for (const auto& o : SkinObjects)
        o->SaveToIni(ini);
    for (const auto& c : SkinControls)
        c->SaveToIni(ini);
}

int SkinData::FindObjectIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < SkinObjects.size(); ++i)
        if (SkinObjects[i]->IDName == name)
            return static_cast<int>(i);
    return -1;
}

int SkinData::FindControlIndex(const std::string& name) const
{
    for (std::size_t i = 0; i < SkinControls.size(); ++i)
        if (SkinControls[i]->IDName == name)
            return static_cast<int>(i);
    return -1;
}

void SkinData::ClearSkinLists()
{
    SkinObjects.clear();
    SkinControls.clear();
    ActivePictures.clear();
    ActivePictureNames.clear();
    PopupWindow.windowPictureIndex = -1;
    PopupWindow.maskPictureIndex = -1;
    HintWindow.windowPictureIndex = -1;
    HintWindow.maskPictureIndex = -1;
}

void SkinData::ClearSkin()
{
    ClearSkinLists();
    Picture.Clear();
    InActivePicture.Clear();
    Mask.Clear();
    PictureName.clear();
    MaskName.clear();
    Empty = true;
}

void SkinData::FollowChanges(QObject* receiver, SkinData* data, std::function<void()> applySkin)
{
    // The tie is a child of the receiver: deleting it cuts the connection, and it dies with
    // the receiver.
    static const QString tieName = QStringLiteral("SkinDataTie");
    for (QObject* old : receiver->findChildren<QObject*>(tieName, Qt::FindDirectChildrenOnly))
        delete old;
    if (!data)
        return;
    auto* tie = new QObject(receiver);
    tie->setObjectName(tieName);
    connect(data, &SkinData::skinChanged, tie, [applySkin = std::move(applySkin)](SkinMessage kind) {
        if (kind == SKINMSG_CHANGED)
            applySkin();
    });
}

} // namespace quorvel
