#pragma once

#include "provider/accountinfo.h"
#include "provider/passwordbook.h"
#include "provider/providerlogin.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>

class QWidget;

namespace quorvel {

class ViewerDatabase;

// The window's side of provider accounts: each account's password found at start where the
// viewer keeps it (the keyring, or viewer.db where the viewer chose it for want of a keyring) or
// asked for, held in memory for opening channels; a new account's password put in the keyring,
// or, where none runs, where the viewer says once; the notice of an account about to expire.
class ProviderAccounts {
public:
    explicit ProviderAccounts(QWidget* window);

    const std::shared_ptr<PasswordBook>& Book() const { return book_; }

    // Every remembered account's password into the book; asks for those kept nowhere. Gives
    // the notices due today of accounts about to expire, by what their panels last said.
    QStringList Load(ViewerDatabase& db);
    // An account the viewer removed: its password goes from the keyring and from memory.
    void Forget(const QString& location);
    // After a good read of the account: a new or changed password is kept; gives what the
    // viewer is to be told (the expiry notice, once a day), else empty.
    QString Read(ViewerDatabase& db, const ProviderLogin& login, std::int64_t sourceId, const AccountInfo& info);

private:
    QString Ask(const ProviderLogin& login, const QString& why);
    void Keep(ViewerDatabase& db, const ProviderLogin& login, std::int64_t sourceId);

    QWidget* window_;
    std::shared_ptr<PasswordBook> book_;
};

} // namespace quorvel
