#pragma once

#include "provider/providerlogin.h"

#include <QByteArray>
#include <QString>

#include <atomic>

namespace quorvel {

// Asks a panel's player_api.php and waits for the whole answer (needs a running Qt core
// application; blocks the calling thread's events meanwhile). Every failure throws Exception in
// plain words that never hold the password: no answer within the time-out, an error status (401
// and 403 read as a wrong login), or an answer larger than the bound, which is refused as soon as
// its size is known and never held beyond the bound.
class PanelClient {
public:
    struct Options {
        int timeoutMs = 30000;              // the longest silence
        qint64 maxBytes = qint64(64) << 20; // no panel's list is larger
        const std::atomic<bool>* cancel = nullptr;
    };

    PanelClient(ProviderLogin login, Options options);
    PanelClient(ProviderLogin login) : PanelClient(std::move(login), Options{}) { }

    // The answer for the action (empty: the account itself). what names it in messages.
    QByteArray Ask(const QString& action, const char* what);

private:
    ProviderLogin login_;
    Options options_;
};

} // namespace quorvel
