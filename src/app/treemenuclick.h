#pragma once

#include <QObject>

class QAbstractItemView;
class QWidget;

namespace quorvel {

// A right click on the channel tree opens its menu and changes nothing else: the tree would
// select the row under the pointer first, and a selected channel plays.
class TreeMenuClick : public QObject {
public:
    explicit TreeMenuClick(QAbstractItemView* tree);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* viewport_;
};

} // namespace quorvel
