#pragma once

#include "skin/form/framestate.h"

#include <QString>

#include <string>
#include <vector>

class QMenu;

namespace quorvel {

class ResourceStrData;

// The items of a skinned frame's system menu for the frame's present state.
class SystemMenu {
public:
    struct Item {
        std::string name; // "SF_MINITEM", ...; "-" for the separator
        QString caption;  // with its "&" accelerator
        QString shortcut; // shown only
    };
    struct State {
        FrameState frameState = FrameState::Normal;
        bool rolledUp = false;
        bool maximizedMdiChild = false;
        bool mdiChild = false;
        BorderIcons borderIcons;
    };

    // The standard items, in menu order, whose conditions hold; captions from the skin's
    // strings when there are any, else the built-in ones.
    static std::vector<Item> Items(const State& state, const ResourceStrData* strings);
    // Puts the items into the menu; a menu of the application's own keeps
    // its items, loses any standard ones, gets the standard ones first and close last.
    static void Fill(QMenu& menu, const std::vector<Item>& items, bool applicationMenu);
    static bool IsStandardName(const std::string& name);
};

} // namespace quorvel
