#pragma once

#include "skin/definition/skinvalues.h"

#include <string>

namespace quorvel {

class DataSkinTabControl;
class SkinData;

// What a page control draws from: the "tab" section it names, looked up in the loaded skin and
// settled. Every field starts at its default; a section of the tab kind then gives its values,
// an empty selected-tab image falls back to the normal one and an empty focused image to the
// selected one as the section has it. Indexes are checked against the skin's lists: a section
// index outside the control sections, or a picture index outside the numbered pictures (or
// naming an empty one), counts as none.
struct TabSection {
    int index = -1; // among the skin's control sections; -1 for none
    // The section object and the bytes of its two pictures: what the values were read from, so
    // that a new skin at the same place is told from the old one.
    const DataSkinTabControl* source = nullptr;
    const char* pictureBytes = nullptr;
    const char* backgroundBytes = nullptr;

    int pictureIndex = -1;
    int bgPictureIndex = -1;
    SkinRect skinRect, clientRect;
    SkinPoint leftTop, rightTop, leftBottom, rightBottom;
    SkinRect tabRect, activeTabRect, focusTabRect, mouseInTabRect, tabsBGRect;
    int tabLeftOffset = 0, tabRightOffset = 0;
    std::string fontName;
    int fontHeight = 12;
    FontStyle fontStyle;
    SkinColor fontColor = 0, activeFontColor = 0, focusFontColor = 0, mouseInFontColor = 0;
    std::string upDown; // the scroll buttons' section

    bool Found() const { return index >= 0; }
    bool operator==(const TabSection&) const = default;
};

// The section of that name in the skin; none without data, with an empty skin or no such section.
// A section of another kind is found (its index) but gives no values.
TabSection ReadTabSection(const SkinData* data, const std::string& name);

} // namespace quorvel
