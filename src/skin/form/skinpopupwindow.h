#pragma once

#include "skin/form/skinmenuitem.h"
#include "skin/render/skinutils.h"
#include "skin/definition/skinvalues.h"

#include <QFont>
#include <QImage>
#include <QWidget>
#include <memory>
#include <vector>

class QMenu;
class QTimer;

namespace quorvel {

class DataSkinMenuItem;
class SkinMenu;
struct DataSkinPopupWindow;

// One level of an open skinned menu: a window that never takes the activation, with the items
// of one menu drawn from the skin's popup picture and menu item section (or in a plain look).
class SkinPopupWindow : public QWidget {
    Q_OBJECT
public:
    SkinPopupWindow(SkinMenu& engine, int level);
    ~SkinPopupWindow() override;

    // Shows the visible children of the menu, from firstIndex on, at the anchor (screen
    // coordinates); a submenu lines its first item up with the item that opened it.
    void Open(QMenu* menu, const QRect& anchor, bool openUpwards, bool submenu, int firstIndex);

    int ItemHeight(const SkinMenuItem& item) const;
    // The item's text as wide as it is measured: caption, two blanks and the shortcut, plus 2.
    int ItemTextWidth(const SkinMenuItem& item) const;
    QSize ComputeSize() const;
    void PlaceItems();

    void SelectItem(int index, bool keyboard);
    void DeselectItem(int index);
    void ClickItem(int index);
    void HoverTest(const QPoint& point);
    // One key for this popup; false when it did nothing with it.
    bool KeyDown(int key, const QString& text);
    void ScrollStep(bool wrap);

    // The whole popup as it is drawn.
    QImage Render() const;
    // The scroll markers (top, bottom) in popup coordinates.
    SkinRect TopMarker() const;
    SkinRect BottomMarker() const;

    SkinMenu& Engine;
    const int Level;
    QMenu* Menu = nullptr;
    std::vector<std::unique_ptr<SkinMenuItem>> Items;
    int HotItem = -1, PrevHotItem = -1;
    bool Scrolling = false;
    int FirstVisible = 0, VisibleCount = 0;
    int ScrollDirection = 0; // 1 up, 2 down
    SkinRect ItemsArea;
    int GlyphColumn = 19;
    const DataSkinPopupWindow* PopupData = nullptr;
    QImage WindowPicture, MaskPicture;
    const DataSkinMenuItem* ItemSection = nullptr;
    QImage ItemStatePicture;
    QFont Font;
    QTimer* PopupMouseTimer = nullptr;
    QTimer* ItemMorphTimer = nullptr;
    QTimer* ScrollTimer = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    PieceGeometry Pieces(const QImage& picture) const;
    void DrawItem(QPainter& painter, const SkinMenuItem& item) const;
    void DrawItemContents(QPainter& painter, const SkinMenuItem& item, const SkinRect& text, int glyph,
                          const QColor& colour) const;
    void DrawLook(QPainter& painter, const SkinMenuItem& item, bool hot, const QColor& colour) const;
    void DrawMarkers(QPainter& painter) const;
    void RedrawItem(int index);
    void MouseTick();
    void MorphTick();
    int FindSelectable(int from, int to, int step) const;
    bool LastItemShown() const;
    std::vector<int> Heights() const;

    QPoint lastCursor_{-100000, -100000};
    int hoveredMarker_ = 0;
};

} // namespace quorvel
