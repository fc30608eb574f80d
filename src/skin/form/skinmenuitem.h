#pragma once

#include "skin/definition/skinvalues.h"

#include <QString>

class QAction;

namespace quorvel {

// One item of a skinned popup: the application's menu action it shows and its state there.
class SkinMenuItem {
public:
    explicit SkinMenuItem(QAction* action);

    bool IsSeparator() const;
    bool IsEnabled() const;
    bool HasChildren() const;
    QString Caption() const;
    QString ShortcutText() const;
    std::string Name() const;
    // The key that chooses this item: the letter after "&" in its caption, in upper case; none
    // (a null character) without one.
    QChar Accelerator() const;
    // The morph of its look is not at its end yet.
    bool MorphPending() const;

    QAction* Action;
    SkinRect Rect;
    bool Visible = false;
    bool Hot = false;
    bool Open = false;
    bool KeyboardSelected = false;
    double MorphAmount = 0;
};

} // namespace quorvel
