#pragma once

#include "skin/data/skindata.h"
#include "skin/form/frameobjects.h"
#include "skin/render/skinpictures.h"

#include <QMetaObject>
#include <QPointer>

namespace quorvel {

class SkinForm;

// The skin the frame is drawn from: the skin data, its pictures, and the frame's objects made
// from it (or the plain frame's set without a skin). It follows the skin data's changes: the
// objects of the old skin go before a change, the new skin is applied after it.
class FrameSkin {
public:
    explicit FrameSkin(SkinForm& frame);
    ~FrameSkin();

    // A skin with a frame picture is in use.
    bool SkinInUse = false;
    FrameObjects Objects;

    void SetSkinData(SkinData* data);
    SkinData* Data() const { return skinData_; }
    const SkinPictures& Pictures() const { return pictures_; }
    // The skin data holds a skin with a frame picture.
    bool Usable() const;

    // Takes the skin data as it is now: pictures, objects, the window's size and the frame.
    void ApplyFrameSkin();
    void CreateObjectsFromSkin();
    void CreateDefaultObjects();
    void ApplyButtonVisibility();
    void AssignStandardHints();
    // What a change of the skin data means for the frame.
    void SkinDataChanged(SkinMessage kind);

private:
    void FitToTrackSizes();

    SkinForm& frame_;
    QPointer<SkinData> skinData_;
    QMetaObject::Connection changes_;
    SkinPictures pictures_;
};

} // namespace quorvel
