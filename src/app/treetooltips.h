#pragma once

#include <QObject>

class QTreeWidget;

namespace quorvel {

// Shows a channel's or a category's whole name as a tooltip where the tree cuts it short.
class TreeToolTips : public QObject {
    Q_OBJECT
public:
    explicit TreeToolTips(QTreeWidget* tree);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* tree_;
};

} // namespace quorvel
