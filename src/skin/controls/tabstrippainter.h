#pragma once

#include "skin/controls/tabgeometry.h"
#include "skin/data/tabsection.h"

#include <QColor>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QString>

class QPainter;

namespace quorvel {

class SkinData;

// Draws a page control's tab strip: the band behind the tabs and the frame around the pages
// from the skin's "tab" section, and each tab in one of four looks, or the plain look without a
// section. Holds the section's values and its decoded pictures; knows nothing of widgets.
class TabStripPainter {
public:
    enum Look { Normal, Hot, Selected, SelectedFocused };
    // Between a tab's icon and its caption.
    static constexpr int kIconGap = 2;
    static Look LookOf(bool hot, bool selected, bool focused);

    // The colours of the plain look and of captions without a skin.
    struct Palette {
        QColor face, shadow, text;
    };
    // What a tab shows: its caption, and its icon beside it when it has one.
    struct Content {
        QString caption;
        QIcon icon;
        QSize iconSize;
        bool enabled = true;
    };
    // How a tab is built besides its look and content.
    struct Style {
        QFont font;
        QTabWidget::TabPosition position = QTabWidget::North;
        bool fixedHeight = false; // a set tab height: the image is stretched to it
        Palette palette;
    };

    // Takes the section's values (the pictures decoded from the data). False when they are the
    // values it has, so nothing drawn from them is out of date.
    bool SetSection(const SkinData* data, const TabSection& section);
    const TabSection& Section() const { return section_; }
    bool Skinned() const { return section_.Found(); }
    const QImage& Picture() const { return picture_; }
    // What fills a page: the background picture or the "clientrect" part of the section's picture.
    const QImage& PageTile() const { return pageTile_; }

    // Strip and frame over the whole image, without the tabs.
    void DrawBackground(QImage& image, const TabGeometry& g, const Palette& palette) const;
    // A tab's image: built along the strip (length x depth), with its content, then turned to lie
    // on its side of the control. Null for a tab of no size.
    QImage BuildTab(Look look, int length, int depth, const Content& content, const Style& style) const;

private:
    void DrawContent(QImage& image, const Content& content, const QFont& font, const QColor& colour) const;

    TabSection section_;
    QImage picture_, background_, pageTile_;
};

} // namespace quorvel
