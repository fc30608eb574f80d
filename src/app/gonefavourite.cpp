#include "app/gonefavourite.h"

#include "widgets/errorbox.h"

#include <QMessageBox>
#include <QPushButton>

namespace quorvel {

void OfferToRemoveGoneFavourite(QWidget* parent, const QString& channel, std::function<void()> remove)
{
    auto* box = new QMessageBox(QMessageBox::Information, QObject::tr("Favourites"),
                                QObject::tr("No playlist lists this channel now"), QMessageBox::NoButton, parent);
    box->setObjectName(QStringLiteral("GoneFavouriteBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(
        QObject::tr("\"%1\" stays in your favourites, greyed, until a playlist lists it again.").arg(channel));
    QPushButton* removeButton = box->addButton(QObject::tr("Remove from favourites"), QMessageBox::AcceptRole);
    box->addButton(QObject::tr("Keep"), QMessageBox::RejectRole);
    QObject::connect(removeButton, &QPushButton::clicked, box, [remove = std::move(remove)] { RunHandler(remove); });
    box->open();
}

} // namespace quorvel
