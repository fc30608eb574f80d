#pragma once

#include "skin/definition/skinvalues.h"
#include "skin/form/popupmenumodel.h"
#include "skin/render/skinutils.h"

#include <QFont>
#include <QImage>
#include <QWidget>

class QMenu;
class QTimer;

namespace quorvel {

class DataSkinMenuItem;
class SkinMenu;
struct DataSkinPopupWindow;

// One level of an open skinned menu: a window that never takes the activation, drawing the
// items of its model from the skin's popup picture and menu item section (or in a plain look)
// and feeding the model the pointer and the timers.
class SkinPopupWindow : public QWidget, private PopupMenuModel::Host {
    Q_OBJECT
public:
    SkinPopupWindow(SkinMenu& engine, int level);
    ~SkinPopupWindow() override;

    // Shows the visible children of the menu, from firstIndex on, at the anchor (screen
    // coordinates); a submenu lines its first item up with the item that opened it.
    void Open(QMenu* menu, const QRect& anchor, bool openUpwards, bool submenu, int firstIndex);

    PopupMenuModel& Model() { return model_; }
    const PopupMenuModel& Model() const { return model_; }

    // The item's text as wide as it is measured: caption, two blanks and the shortcut, plus 2.
    int ItemTextWidth(const SkinMenuItem& item) const;
    QSize ComputeSize() const;

    // The whole popup as it is drawn.
    QImage Render() const;

    SkinMenu& Engine;
    const int Level;
    QMenu* Menu = nullptr;
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
    // PopupMenuModel::Host
    void ItemChanged(int index) override;
    void ListChanged() override;
    void AutoScroll(bool run) override;
    int OpenLevels() const override;
    PopupMenuModel* LevelModel(int level) override;
    void ClosePopupsFrom(int level) override;
    void ItemSelected(int index, bool keyboard) override;
    void ItemDeselected(int index) override;
    void RunItem(int index) override;
    void OpenSubmenu(int index) override;

    PieceGeometry Pieces(const QImage& picture) const;
    void DrawItem(QPainter& painter, const SkinMenuItem& item) const;
    void DrawItemContents(QPainter& painter, const SkinMenuItem& item, const SkinRect& text, int glyph,
                          const QColor& colour) const;
    void DrawLook(QPainter& painter, const SkinMenuItem& item, bool hot, const QColor& colour) const;
    void DrawMarkers(QPainter& painter) const;
    void MouseTick();
    void MorphTick();

    PopupMenuModel model_;
    QPoint lastCursor_{-100000, -100000};
};

} // namespace quorvel
