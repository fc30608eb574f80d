#pragma once

#include "skin/controls/tabgeometry.h"
#include "skin/controls/tabstrippainter.h"
#include "skin/data/skindata.h"
#include "skin/data/tabsection.h"

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QRegion>
#include <QTabWidget>

#include <map>
#include <string>

namespace quorvel {

class SkinTabSheet;
class SkinUpDown;

// A tab control with pages drawn from the skin's "tab" section: the strip behind the tabs, the
// tabs in four looks (normal, selected, selected with the focus, under the mouse) and the frame
// around the pages. Without the section it draws plain tabs on a button-face strip and a
// one-pixel frame. Qt's tab bar keeps laying the tabs out, hit testing and switching pages by
// mouse and keyboard; this control paints them. When the tabs do not fit, scroll buttons drawn
// from the section named by the tab section's "updown" key scroll the strip.
class SkinPageControl : public QTabWidget {
    Q_OBJECT
public:
    explicit SkinPageControl(QWidget* parent = nullptr);
    ~SkinPageControl() override;

    SkinTabSheet* AddPage(const QString& caption);
    int PageCount() const { return count(); }
    SkinTabSheet* Page(int index) const;
    SkinTabSheet* ActivePage() const { return Page(currentIndex()); }
    int ActivePageIndex() const { return currentIndex(); }
    void SetActivePage(SkinTabSheet* page);
    void SetActivePageIndex(int index);

    SkinData* GetSkinData() const { return skinData_; }
    // Stores the skin data (forgotten when it is destroyed) and applies its skin.
    void SetSkinData(SkinData* data);
    QString SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const QString& name);
    // The section's index among the skin's control sections; -1 for none.
    int SkinIndex() const { return painter_.Section().index; }
    const QFont& DefaultFont() const { return defaultFont_; }
    // Only copies the font; ApplySkin puts it to use.
    void SetDefaultFont(const QFont& font) { defaultFont_ = font; }
    bool UseSkinFont() const { return useSkinFont_; }
    void SetUseSkinFont(bool use);
    // The tab height without a skin, and the height of the scroll buttons.
    int DefaultItemHeight() const { return defaultItemHeight_; }
    void SetDefaultItemHeight(int height);
    // Fixed tab height and width; 0 takes them from the skin or the captions.
    int TabHeightSetting() const { return tabHeightSetting_; }
    void SetTabHeight(int height);
    int TabWidthSetting() const { return tabWidthSetting_; }
    void SetTabWidth(int width);
    bool MultiLine() const { return false; } // one row of tabs, scrolled when it does not fit

    // Looks the section up again and copies its values; runs before every paint.
    void ReadSkinSection();
    // Takes the section again: font, tab height, layout, scroll buttons; repaints.
    void ApplySkin();

    // The height tabs have now, and where tabs and pages lie.
    int TabHeight() const { return tabHeight_; }
    TabGeometry Geometry() const;
    QRect PageArea() const;
    // The tab of the page, in the control's coordinates; empty for a page without a tab.
    QRect TabRect(int index) const;
    // The first tab whose rectangle holds the point; -1 for none.
    int TabAt(const QPoint& pos) const;
    int HotTab() const { return hotTab_; }
    int PrevHotTab() const { return prevHotTab_; }
    SkinUpDown* ScrollButtons() const { return scrollButtons_; }
    // Tabs scrolled out at the left.
    int FirstShownTab() const { return firstShown_; }

    // Paints that part of the control (what a paint event does), from the control's image,
    // which is brought up to date first.
    void PaintPart(QPainter& painter, const QRect& part);
    // A tab as drawn: its image at its place (turned for tabs on the left or right).
    QImage TabImage(int index, bool hot, bool selected) const;
    // Fills part of a page of that size with the page background.
    void DrawPageBackground(QPainter& painter, const QRect& part, const QSize& pageSize);
    // A page's caption changed.
    void PageCaptionChanged(SkinTabSheet* page);

    // The tab section's values, as the control copied them.
    const TabSection& CopiedSection() const { return painter_.Section(); }

    // How a tab bar of this control measures a tab.
    QSize TabSizeFor(int index) const;
    // Where the tab bar and the pages go (asked by the layout).
    QRect TabBarRect() const;

signals:
    // The selected page changed (OnChange).
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void tabInserted(int index) override;
    void tabRemoved(int index) override;

private:
    void SelectionChanged();
    void Relayout();
    void SetHotTab(int index);
    void ClearHotTabs();
    // Marks part of the control's image as out of date and repaints it.
    void Invalidate(const QRect& part);
    void InvalidateAll();
    void InvalidateTab(int index);
    void TabsChanged();
    TabStripPainter::Palette Colours() const;
    void DrawTabs(QPainter& p, const QRect& part) const;
    // Where a tab's image lands: anchored at the control's edge, it may be larger than the tab.
    QRect TabImageRect(int index, const QSize& imageSize) const;
    QRect TabDrawnRect(int index) const;
    void RefreshTabBar();
    // The visible tabs in page order, and where each begins along the strip (unscrolled).
    QList<int> VisibleTabs() const;
    bool Horizontal() const { return tabPosition() == North || tabPosition() == South; }
    void UpdateScrollButtons();
    // The scroll buttons go; deleted once control returns to the event loop, since a walk over
    // the window's controls may be on its way to them.
    void DropScrollButtons();
    // Visible tabs whose right edge lies at or before the left edge, or beyond the room left of
    // the scroll buttons (of that width).
    int CountTabsNotFitting(int buttonsWidth) const;
    int TabsOutAtLeft() const;
    void ScrollTo(int first);
    void ScrollButtonsChanged();
    void EnsureSelectedShown();

    QPointer<SkinData> skinData_;
    QString skinDataName_ = QStringLiteral("tab");
    std::string sectionName_ = "tab";
    TabStripPainter painter_; // the section's values and pictures; draws strip, frame and tabs
    QFont defaultFont_;
    QFont controlFont_; // the font of the tab captions: the skin's or the default one
    bool useSkinFont_ = true;
    int defaultItemHeight_ = 20;
    int tabHeightSetting_ = 0;
    int tabWidthSetting_ = 0;
    int tabHeight_ = 20;
    int hotTab_ = -1;
    int prevHotTab_ = -1;
    int firstShown_ = 0;
    TabPosition drawnPosition_ = North; // the side the images were built for
    SkinUpDown* scrollButtons_ = nullptr;

    // The control's image: strip, frame and tabs; rebuilt where it is out of date.
    QImage image_;
    QRegion outOfDate_;
    QImage background_; // strip and frame, without tabs
    bool backgroundValid_ = false;
    // Built tab images by page and look, until the skin, a font or a caption changes.
    mutable std::map<std::pair<int, int>, QImage> tabImages_;
    // Measured tabs by page, with the caption they were measured with, until a font or the tab
    // size changes.
    mutable std::map<int, std::pair<QString, QSize>> tabSizes_;
};

} // namespace quorvel
