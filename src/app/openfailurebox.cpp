#include "app/openfailurebox.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QPushButton>

namespace quorvel {

void ShowOpenFailure(QWidget* parent, const QString& address)
{
    auto* box = new QMessageBox(QMessageBox::Information, QApplication::applicationDisplayName(),
                                QObject::tr("No web browser could be started to open this address:"),
                                QMessageBox::Close, parent);
    box->setObjectName(QStringLiteral("OpenFailureBox"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setInformativeText(address);
    box->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QPushButton* copy = box->addButton(QObject::tr("Copy address"), QMessageBox::ActionRole);
    copy->setObjectName(QStringLiteral("CopyAddress"));
    QObject::connect(copy, &QPushButton::clicked, box, [address] { QApplication::clipboard()->setText(address); });
    box->setDefaultButton(copy);
    box->open();
}

} // namespace quorvel
