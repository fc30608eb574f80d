#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace quorvel {

// An account on an Xtream Codes panel: the server, the user name and the password. The
// account is remembered by its location, the api address with the user name and without the
// password; channel addresses are kept with a mark where the password goes, and the password
// is put in only when a channel is opened.
class ProviderLogin {
public:
    // server: "host", "host:port" or an http(s) address (a path up to the panel's scripts is
    // kept, the script itself dropped). Invalid when there is no host.
    ProviderLogin(const QString& server, QString user, QString password);

    // A playlist address of a panel: http(s)://host[:port]/get.php?username=…&password=…
    static std::optional<ProviderLogin> FromPlaylistAddress(const QString& address);
    // The account a remembered location names (the password left empty), if it is one.
    static std::optional<ProviderLogin> FromLocation(const QString& location);

    bool IsValid() const { return server_.isValid() && !server_.host().isEmpty() && !user_.isEmpty(); }
    // "http://host:port" and the path up to the scripts, without a slash at the end.
    QString Server() const;
    const QString& User() const { return user_; }
    const QString& Password() const { return password_; }
    void SetPassword(QString password) { password_ = std::move(password); }

    // The location the account is remembered by: ".../player_api.php?username=USER".
    QString Location() const;
    // player_api.php with the login, and "&action=…" unless empty. Holds the password.
    QUrl ApiAddress(const QString& action = QString()) const;

    // A live channel's address as kept: the password's place holds the mark.
    QString KeptLiveAddress(qint64 streamId, const QString& extension) const;
    // A kept address of this account with the password in, for opening; any other unchanged.
    QString Opened(const QString& kept) const;
    // An opened address of this account as kept; any other unchanged.
    QString Kept(const QString& opened) const;

    // Whether the address is one of this account's live channels, kept or opened.
    bool Owns(const QString& address) const { return IsValid() && address.startsWith(Prefix()); }

    // What stands in an address where the password goes ("•••", percent-encoded).
    static QString Mark();

private:
    QString Prefix() const; // "server/live/USER/"

    QUrl server_;
    QString user_;
    QString password_;
};

} // namespace quorvel
