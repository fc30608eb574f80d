#pragma once

#include "catalogue/channelfinder.h"

#include <QIcon>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QTreeView;

namespace quorvel {

class ChannelTreeView;
class FindResultsModel;

// The find box over the channel tree. Ctrl+F, or typing while the tree has the focus, opens it:
// a text line above the tree narrowed, as one types, to the channels whose names contain the
// text (any letter case, any script), each under its category, opened. Enter plays the
// highlighted match (the first, unless the arrow keys moved on) by choosing it in the tree, as
// a click there would, and closes the box; a click on a match plays it and leaves the box open;
// Escape closes it. The tree itself is never changed by finding: closing shows it as it was.
class FindBox : public QWidget {
    Q_OBJECT
public:
    FindBox(ChannelTreeView* tree, const QIcon& nodeImage);
    ~FindBox() override;

    // Called before the box opens, to bring the tree into view (its tab may be hidden).
    void SetReveal(std::function<void()> reveal) { reveal_ = std::move(reveal); }

    // Opens the box; a non-null text replaces what it held.
    void Open(const QString& text = QString());
    void Close();
    bool IsOpen() const { return isVisible(); }

    QLineEdit* Edit() const { return edit_; }
    QTreeView* Results() const { return view_; }
    FindResultsModel* Model() const { return model_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Narrow(const QString& text);
    void Play(const QModelIndex& index, bool close);
    void MoveHighlight(int step);
    void HighlightCurrentChannel();
    void Place();
    void BuildFinder();

    ChannelTreeView* tree_;
    QLineEdit* edit_;
    QLabel* count_;
    QTreeView* view_;
    FindResultsModel* model_;
    ChannelFinder finder_;
    bool finderStale_ = true;
    std::function<void()> reveal_;
};

} // namespace quorvel
