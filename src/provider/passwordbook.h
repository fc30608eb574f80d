#pragma once

#include "provider/providerlogin.h"

#include <QString>

#include <mutex>
#include <unordered_map>

namespace quorvel {

// The passwords of the accounts known in this run, in memory only, by account location; read
// from any thread (the window opens channels, the playlists' thread refreshes accounts).
class PasswordBook {
public:
    void Put(const QString& location, const QString& password);
    void Forget(const QString& location);
    // The password of the account, empty when unknown.
    QString Find(const ProviderLogin& login) const;

    // A kept channel address with its account's password put in; any other as it is.
    QString Opened(const QString& kept) const;
    // An opened channel address as kept, its password's place marked again; any other as it is.
    QString Kept(const QString& opened) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<QString, ProviderLogin> logins_;
};

} // namespace quorvel
