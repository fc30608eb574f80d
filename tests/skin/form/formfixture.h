#pragma once

#include "skin/data/skindata.h"
#include "skin/form/frameinput.h"
#include "skin/form/framelayout.h"
#include "skin/form/framemenus.h"
#include "skin/form/framepainter.h"
#include "skin/form/frameskin.h"
#include "skin/form/framewindowstates.h"
#include "skin/form/skinform.h"
#include "skin/store/compressedstoredskin.h"

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

// A window with a skinned frame, as the program makes its own: the program's skin, a client
// area of 712 x 446, caption "Quorvel Online TV v1.12", minimize, maximize and roll-up.
class FormFixture {
public:
    explicit FormFixture(bool withSkin = true);
    ~FormFixture();

    QWidget& form() { return *form_; }
    quorvel::SkinForm& frame() { return *frame_; }
    // The program's skin as stored; loading it again reloads the frame's skin data.
    quorvel::CompressedStoredSkin& stored() { return stored_; }
    // Shows the window and makes it the active one.
    void ShowActive();
    // Index of the object of that name among the frame's objects.
    int IndexOf(const std::string& id) const;
    quorvel::ActiveSkinObject& Object(const std::string& id) const;
    // Runs the morph timer until it stops (at most the given number of ticks); the ticks taken.
    int RunMorph(int maxTicks = 50);

    std::vector<std::string> events;

private:
    std::unique_ptr<QWidget> form_;
    quorvel::SkinForm* frame_ = nullptr;
    quorvel::CompressedStoredSkin stored_;
    quorvel::SkinData* data_ = nullptr;
};
