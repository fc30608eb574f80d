#include "app/treelogodelegate.h"

#include "app/channellogos.h"
#include "channelmodel/channelmodel.h"

#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QTreeView>

namespace quorvel {

namespace {

constexpr int kTreeLogoSide = 16;
constexpr int kRepaintDelayMs = 100;

} // namespace

TreeLogoDelegate::TreeLogoDelegate(QTreeView* tree, ChannelLogos& logos)
    : QStyledItemDelegate(tree), logos_(logos), repaint_(new QTimer(this))
{
    repaint_->setSingleShot(true);
    repaint_->setInterval(kRepaintDelayMs);
    connect(repaint_, &QTimer::timeout, tree->viewport(), qOverload<>(&QWidget::update));
    connect(&logos_, &ChannelLogos::changed, repaint_, [this] {
        if (!repaint_->isActive())
            repaint_->start();
    });
}

void TreeLogoDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // Channels only: a category keeps the tree's image.
    if (!ChannelModel::IsChannel(index))
        return;
    if (ChannelModel::IsGone(index))
        option->palette.setBrush(QPalette::Text, QBrush(Qt::gray));
    const QImage logo = logos_.Logo(index.data(Qt::DisplayRole).toString(), kTreeLogoSide);
    if (logo.isNull())
        return;
    // Centred in the icon's square, so names stay in line whatever the logo's shape.
    QPixmap square(kTreeLogoSide, kTreeLogoSide);
    square.fill(Qt::transparent);
    QPainter painter(&square);
    painter.drawImage((kTreeLogoSide - logo.width()) / 2, (kTreeLogoSide - logo.height()) / 2, logo);
    painter.end();
    option->icon = QIcon(square);
    option->features |= QStyleOptionViewItem::HasDecoration;
}

} // namespace quorvel
