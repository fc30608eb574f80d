#include "app/findbox.h"

#include "app/channeltreeview.h"
#include "app/findresultsmodel.h"
#include "channelmodel/channelmodel.h"

#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QShortcut>
#include <QTreeView>
#include <QVBoxLayout>

namespace quorvel {

FindBox::FindBox(ChannelTreeView* tree, const QIcon& nodeImage)
    : QWidget(tree->parentWidget()), tree_(tree), edit_(new QLineEdit(this)), count_(new QLabel(edit_)),
      view_(new QTreeView(this)), model_(new FindResultsModel(tree->Channels(), nodeImage, this))
{
    setObjectName(QStringLiteral("FindBox"));
    hide();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(edit_);
    layout->addWidget(view_, 1);

    edit_->setObjectName(QStringLiteral("FindEdit"));
    edit_->setPlaceholderText(tr("Find a channel"));
    edit_->setClearButtonEnabled(false);
    edit_->installEventFilter(this);
    count_->setObjectName(QStringLiteral("FindCount"));
    count_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    count_->setAttribute(Qt::WA_TransparentForMouseEvents);
    QPalette dim = count_->palette();
    dim.setColor(QPalette::WindowText, dim.color(QPalette::Disabled, QPalette::Text));
    count_->setPalette(dim);

    // The narrowed tree looks as the tree does.
    view_->setObjectName(QStringLiteral("FindResults"));
    view_->setModel(model_);
    view_->setFont(tree->font());
    view_->setPalette(tree->palette());
    view_->setFrameShape(QFrame::NoFrame);
    view_->setHeaderHidden(true);
    view_->setIndentation(tree->indentation());
    view_->setRootIsDecorated(true);
    view_->setUniformRowHeights(true);
    view_->setIconSize(tree->iconSize());
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setExpandsOnDoubleClick(false);
    view_->installEventFilter(this);
    connect(view_, &QTreeView::clicked, this, [this](const QModelIndex& index) { Play(index, false); });
    connect(edit_, &QLineEdit::textChanged, this, &FindBox::Narrow);

    // The tree's channels are read again once they change (the tree is filled at start).
    QAbstractItemModel* treeModel = tree->model();
    auto stale = [this] { finderStale_ = true; };
    connect(treeModel, &QAbstractItemModel::rowsInserted, this, stale);
    connect(treeModel, &QAbstractItemModel::rowsRemoved, this, stale);
    connect(treeModel, &QAbstractItemModel::modelReset, this, stale);
    connect(treeModel, &QAbstractItemModel::dataChanged, this, stale);
    connect(treeModel, &QAbstractItemModel::layoutChanged, this, stale);

    tree->installEventFilter(this);
    auto* shortcut = new QShortcut(QKeySequence::Find, tree->window());
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this] { Open(); });
}

FindBox::~FindBox() = default;

void FindBox::Open(const QString& text)
{
    if (reveal_)
        reveal_();
    Place();
    const bool wasOpen = isVisible();
    show();
    raise();
    edit_->setFocus(Qt::ShortcutFocusReason);
    if (!text.isNull()) {
        edit_->setText(text);
    } else {
        if (!wasOpen) {
            Narrow(edit_->text());
            HighlightCurrentChannel();
        }
        edit_->selectAll();
    }
}

void FindBox::HighlightCurrentChannel()
{
    // Opened again over the same text while a channel plays, the arrows go on from that
    // channel, not from the first match.
    const QModelIndex current = tree_->currentIndex();
    if (!ChannelModel::IsChannel(current))
        return;
    const ChannelFinder::Match playing{static_cast<std::uint32_t>(current.parent().row()),
                                       static_cast<std::uint32_t>(current.row())};
    const QModelIndex at = model_->IndexOf(playing);
    if (at.isValid()) {
        view_->setCurrentIndex(at);
        view_->scrollTo(at);
    }
}

void FindBox::Close()
{
    if (!isVisible())
        return;
    const bool hadFocus = isAncestorOf(QApplication::focusWidget());
    hide();
    // Nothing of the search stays around: a hundred thousand rows are not kept for nothing.
    model_->SetMatches({});
    if (hadFocus)
        tree_->setFocus(Qt::OtherFocusReason);
}

void FindBox::BuildFinder()
{
    const ChannelModel& model = tree_->Channels();
    std::vector<std::vector<QString>> channels(static_cast<std::size_t>(model.CategoryCount()));
    for (int c = 0; c < model.CategoryCount(); ++c) {
        auto& names = channels[static_cast<std::size_t>(c)];
        // Categories not opened yet have no channel rows: their names come without them.
        const int count = model.ChannelCount(c);
        names.reserve(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            names.push_back(model.ChannelName(c, i));
    }
    finder_ = ChannelFinder(channels);
    finderStale_ = false;
}

void FindBox::Narrow(const QString& text)
{
    if (!isVisible())
        return;
    if (finderStale_)
        BuildFinder();
    const auto& matches = finder_.Find(text);
    model_->SetMatches(matches);
    view_->expandAll();
    const QModelIndex first = model_->FirstChannel();
    view_->setCurrentIndex(first);
    view_->scrollToTop();

    const bool none = matches.empty() && !text.isEmpty();
    const QString number = QLocale::c().toString(qulonglong(matches.size()));
    count_->setText(none                  ? tr("no match")
                    : text.isEmpty()      ? QString()
                    : matches.size() == 1 ? tr("1 match")
                                          : tr("%1 matches").arg(number));
    const int width = count_->fontMetrics().horizontalAdvance(count_->text()) + 6;
    count_->setGeometry(edit_->width() - width - 2, 0, width, edit_->height());
    edit_->setTextMargins(0, 0, count_->text().isEmpty() ? 0 : width, 0);
    // A text that finds nothing is shown as such, as find boxes do.
    edit_->setStyleSheet(none ? QStringLiteral("QLineEdit { background: #ffd6d6; }") : QString());
}

void FindBox::Play(const QModelIndex& index, bool close)
{
    const QModelIndex item = model_->ChannelItem(index);
    if (!item.isValid())
        return;
    if (close)
        Close();
    tree_->expand(item.parent());
    // Choosing it in the tree plays it, exactly as a click there does.
    tree_->setCurrentIndex(item);
    tree_->scrollTo(item);
    if (close)
        tree_->setFocus(Qt::OtherFocusReason);
}

void FindBox::MoveHighlight(int step)
{
    QModelIndex at = view_->currentIndex();
    QModelIndex next = model_->NextChannel(at, step);
    if (!next.isValid()) {
        // Long steps stop at the first or last match.
        for (int s = step; !next.isValid() && s != 0; s -= (s > 0 ? 1 : -1))
            next = model_->NextChannel(at, s);
    }
    if (next.isValid()) {
        view_->setCurrentIndex(next);
        view_->scrollTo(next);
    }
}

void FindBox::Place() { setGeometry(tree_->geometry()); }

bool FindBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tree_) {
        if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) && isVisible())
            Place();
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            const QString text = key->text();
            const bool command = key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
            // Typing a name in the tree starts finding it; space, arrows and the like stay the tree's.
            if (!command && !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace()) {
                Open(text);
                return true;
            }
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    switch (key->key()) {
    case Qt::Key_Escape:
        Close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QModelIndex current = view_->currentIndex();
        Play(model_->ChannelItem(current).isValid() ? current : model_->FirstChannel(), true);
        return true;
    }
    case Qt::Key_Down:
    case Qt::Key_Up:
    case Qt::Key_PageDown:
    case Qt::Key_PageUp:
        if (watched == edit_) {
            const int page = std::max(1, view_->viewport()->height() / std::max(1, view_->sizeHintForRow(0)) - 1);
            const int step = key->key() == Qt::Key_Down       ? 1
                             : key->key() == Qt::Key_Up       ? -1
                             : key->key() == Qt::Key_PageDown ? page
                                                              : -page;
            MoveHighlight(step);
            return true;
        }
        return false;
    default:
        // Typing in the list goes on in the text line.
        if (watched == view_ && !key->text().isEmpty() && key->text().at(0).isPrint() &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            edit_->setFocus(Qt::OtherFocusReason);
            edit_->insert(key->text());
            return true;
        }
        return false;
    }
}

} // namespace quorvel
