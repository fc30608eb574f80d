#pragma once

#include <QString>

namespace quorvel {

// Passwords in the desktop's Secret Service keyring, by key (an account's location). Each call
// waits for the keyring's answer (it needs a running Qt core application). Nothing is ever kept
// anywhere else by this class: where no keyring runs, it says so and keeps nothing.
class Keyring {
public:
    enum class Outcome { Done, NotFound, NoKeyring, Failed };
    struct Answer {
        Outcome outcome = Outcome::Failed;
        QString password; // read only
        QString why;      // the keyring's words for a failure, never the password
    };

    static Answer Read(const QString& key);
    static Answer Write(const QString& key, const QString& password);
    static Answer Remove(const QString& key);

    static constexpr const char* kService = "tv.quorvel.Quorvel";
};

} // namespace quorvel
