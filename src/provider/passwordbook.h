#pragma once

#include "provider/providerlogin.h"

#include <QString>

#include <mutex>
#include <unordered_map>

namespace quorvel {

// The passwords of the accounts known in this run, in memory only, by account location, and
// which accounts take one stream at a time; read from any thread (the window opens channels, the
// playlists' thread refreshes accounts).
class PasswordBook {
public:
    void Put(const QString& location, const QString& password);
    void Forget(const QString& location);
    // The password of the account, empty when unknown.
    QString Find(const ProviderLogin& login) const;

    // Whether the account allows one stream at a time (or has as many open as allowed): its
    // channels are then never opened beside another of its streams.
    void SetSingleConnection(const QString& location, bool single);
    bool SingleConnection(const QString& address) const;

    // A kept channel address with its account's password put in; any other as it is.
    QString Opened(const QString& kept) const;
    // An opened channel address as kept, its password's place marked again; any other as it is.
    QString Kept(const QString& opened) const;

private:
    mutable std::mutex mutex_;
    std::unordered_map<QString, ProviderLogin> logins_;
    std::unordered_map<QString, bool> single_;
};

} // namespace quorvel
