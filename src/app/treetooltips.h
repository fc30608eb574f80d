#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QTreeView;

namespace quorvel {

// Shows a channel's or a category's whole name as a tooltip where the tree cuts it short, and
// under a channel's name what the guide says is on now and next.
class TreeToolTips : public QObject {
    Q_OBJECT
public:
    using Guide = std::function<QStringList(const QString& channel)>;

    explicit TreeToolTips(QTreeView* tree);
    // The lines of a channel's programmes now and next; none when the guide has none.
    void SetGuide(Guide guide) { guide_ = std::move(guide); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeView* tree_;
    Guide guide_;
};

} // namespace quorvel
