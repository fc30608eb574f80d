#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quorvel {

// What a panel's player_api.php says of an account and its server.
struct AccountInfo {
    enum class State { Active, Expired, Disabled, Banned, WrongLogin, Other };

    State state = State::Other;
    QString status;       // as the panel wrote it ("Active", "Expired", ...)
    QString message;      // the panel's own note, often empty
    qint64 expiresAt = 0; // seconds since the epoch; 0 when it never expires
    bool trial = false;
    int activeConnections = 0; // streams open on the account now
    int maxConnections = 0;    // 0 when the panel sets no limit
    QStringList outputFormats; // "m3u8", "ts", "rtmp", as allowed; empty when not said
    QString timeZone;          // the server's ("Europe/London"), empty when not said

    // Reads the answer to player_api.php with the login and no action. A wrong login (auth 0)
    // reads as State::WrongLogin; anything that is no panel's answer throws Exception saying so.
    static AccountInfo Read(const QByteArray& answer);

    // Whether a second stream would go over what the account allows: one connection in all, or
    // as many open as allowed.
    bool AtConnectionLimit() const;
    // The ending of live addresses: "m3u8" unless the account allows only "ts".
    QString LiveExtension() const;
};

} // namespace quorvel
