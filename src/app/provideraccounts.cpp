#include "app/provideraccounts.h"

#include "base/exception.h"
#include "base/redactedaddress.h"
#include "provider/accountmessages.h"
#include "provider/keyring.h"
#include "userdata/provideraccountstore.h"
#include "userdata/viewerdatabase.h"

#include <QDateTime>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace quorvel {

ProviderAccounts::ProviderAccounts(QWidget* window) : window_(window), book_(std::make_shared<PasswordBook>()) { }

QString ProviderAccounts::Ask(const ProviderLogin& login, const QString& why)
{
    bool ok = false;
    const QString password = QInputDialog::getText(
        window_, QStringLiteral("Provider password"),
        QStringLiteral("%1\nThe password of %2 at %3:")
            .arg(why, login.User(), QString::fromStdString(RedactedAddress(login.Server().toStdString()))),
        QLineEdit::Password, QString(), &ok);
    return ok ? password : QString();
}

QStringList ProviderAccounts::Load(ViewerDatabase& db)
{
    std::vector<ProviderAccountStore::Account> accounts;
    QStringList notices;
    try {
        accounts = ProviderAccountStore::Read(db);
    } catch (const Exception&) {
        return notices; // the refresh says what is wrong with the database
    }
    for (const auto& a : accounts) {
        const QString location = QString::fromStdString(a.location);
        const auto login = ProviderLogin::FromLocation(location);
        if (!login)
            continue;
        QString password;
        QString why = QStringLiteral("You chose to be asked for it at each start.");
        if (a.keep == ProviderAccountStore::Keep::Database && a.password) {
            password = QString::fromStdString(*a.password);
        } else if (a.keep == ProviderAccountStore::Keep::Keyring) {
            const Keyring::Answer kept = Keyring::Read(location);
            password = kept.password;
            if (kept.outcome != Keyring::Outcome::Done)
                why = QStringLiteral("It is not in the desktop keyring now.");
        }
        if (password.isEmpty())
            password = Ask(*login, why);
        if (!password.isEmpty())
            book_->Put(location, password);
        book_->SetSingleConnection(location, a.maxConnections == 1 ||
                                                 (a.maxConnections > 0 && a.activeConnections >= a.maxConnections));
        AccountInfo info;
        info.state = AccountInfo::State::Active;
        info.expiresAt = a.expires;
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        if (const qint64 day = AccountMessages::NoticeDay(info, now, a.noticedDay); day != 0) {
            try {
                ProviderAccountStore::StoreNoticed(db, a.sourceId, day);
            } catch (const Exception&) {
                // Told again at the next start: better than not at all.
            }
            notices << AccountMessages::Notice(info, now);
        }
    }
    return notices;
}

void ProviderAccounts::Forget(const QString& location)
{
    book_->Forget(location);
    Keyring::Remove(location);
}

void ProviderAccounts::Keep(ViewerDatabase& db, const ProviderLogin& login, std::int64_t sourceId)
{
    const Keyring::Answer written = Keyring::Write(login.Location(), login.Password());
    ProviderAccountStore::Keep keep = ProviderAccountStore::Keep::Keyring;
    if (written.outcome != Keyring::Outcome::Done) {
        // Asked once, when the account comes: the choice stays with the account.
        QMessageBox box(QMessageBox::Question, QStringLiteral("Keep the provider password"),
                        QStringLiteral("No desktop keyring takes the password of %1 (%2). Keep it in the "
                                       "player's own database, a file only you can read, or be asked for it each "
                                       "time the player starts?")
                            .arg(login.User(), written.outcome == Keyring::Outcome::NoKeyring
                                                   ? QStringLiteral("none runs")
                                                   : written.why.toHtmlEscaped()),
                        QMessageBox::NoButton, window_);
        QPushButton* store = box.addButton(QStringLiteral("Keep it in the database"), QMessageBox::AcceptRole);
        box.addButton(QStringLiteral("Ask at each start"), QMessageBox::RejectRole);
        box.setObjectName(QStringLiteral("KeepPasswordBox"));
        box.exec();
        keep = box.clickedButton() == store ? ProviderAccountStore::Keep::Database : ProviderAccountStore::Keep::Ask;
    }
    ProviderAccountStore::StoreKeep(db, sourceId, keep,
                                    keep == ProviderAccountStore::Keep::Database ? login.Password().toStdString()
                                                                                 : std::string());
}

QString ProviderAccounts::Read(ViewerDatabase& db, const ProviderLogin& login, std::int64_t sourceId,
                               const AccountInfo& info)
{
    QString said;
    try {
        if (book_->Find(login) != login.Password())
            Keep(db, login, sourceId);
        book_->Put(login.Location(), login.Password());
        book_->SetSingleConnection(login.Location(), info.AtConnectionLimit());
        const auto kept = ProviderAccountStore::Find(db, login.Location().toStdString());
        const qint64 now = QDateTime::currentSecsSinceEpoch();
        if (const qint64 day = AccountMessages::NoticeDay(info, now, kept ? kept->noticedDay : 0); day != 0) {
            ProviderAccountStore::StoreNoticed(db, sourceId, day);
            said = AccountMessages::Notice(info, now);
        }
    } catch (const Exception& e) {
        said = QString::fromStdString(e.Message());
    }
    return said;
}

} // namespace quorvel
