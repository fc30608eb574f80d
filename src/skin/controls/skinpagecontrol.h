#pragma once

#include "skindata.h"

#include <QFont>
#include <QList>
#include <QPointer>
#include <QWidget>

namespace quorvel {

class SkinTabSheet;

// A tab control with pages, tabs on top. Without a skin it draws plain tabs on a button-face
// strip and a one-pixel shadow frame around the page area.
class SkinPageControl : public QWidget {
    Q_OBJECT
public:
    explicit SkinPageControl(QWidget* parent = nullptr);

    SkinTabSheet* AddPage(const QString& caption);
    int PageCount() const { return pages_.size(); }
    SkinTabSheet* Page(int index) const { return pages_.value(index); }
    SkinTabSheet* ActivePage() const { return pages_.value(active_); }
    int ActivePageIndex() const { return active_; }
    void SetActivePage(SkinTabSheet* page);
    void SetActivePageIndex(int index);

    SkinData* GetSkinData() const { return skinData_; }
    // Stores the skin data (forgotten when it is destroyed) and applies its skin.
    void SetSkinData(SkinData* data);
    // Takes the skin's "tab" section again and repaints.
    void ApplySkin();
    QString SkinDataName() const { return skinDataName_; }
    void SetSkinDataName(const QString& name) { skinDataName_ = name; }
    int DefaultItemHeight() const { return defaultItemHeight_; }
    void SetDefaultItemHeight(int height);
    // 0 takes the default item height.
    int TabHeightSetting() const { return tabHeight_; }
    void SetTabHeight(int height);
    void SetDefaultFont(const QFont& font);

    // The height tabs are drawn at, and where they and the pages lie.
    int TabHeight() const;
    QRect PageArea() const;
    QRect TabRect(int index) const;
    int HotTab() const { return hotTab_; }
    int TabAt(const QPoint& pos) const;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void DrawTab(QPainter& p, int index, bool hot, bool selected) const;
    void LayoutPages();
    void SetHotTab(int index);

    QPointer<SkinData> skinData_;
    QList<SkinTabSheet*> pages_;
    int active_ = -1;
    int hotTab_ = -1;
    int prevHotTab_ = -1;
    QString skinDataName_ = QStringLiteral("tab");
    int defaultItemHeight_ = 20;
    int tabHeight_ = 0;
    QFont defaultFont_;
};

} // namespace quorvel
