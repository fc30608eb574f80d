#pragma once

#include "provider/accountinfo.h"
#include "provider/providerlogin.h"

#include <QByteArray>

#include <atomic>

namespace quorvel {

// A provider account's live channels as a playlist: the account asked first (an account that
// cannot be used stops the read, in the panel's words), then its live categories and channels,
// written as the M3U the importer reads, each channel with its category as group, its number,
// logo and guide id, and its address as kept (the password's place marked).
class AccountPlaylist {
public:
    // Throws Exception in plain words when the panel cannot be asked, says the account cannot be
    // used, or answers with anything but its lists.
    AccountPlaylist(const ProviderLogin& login, const std::atomic<bool>* cancel);

    const AccountInfo& Info() const { return info_; }
    const QByteArray& Bytes() const { return bytes_; }
    int Skipped() const { return skipped_; }

    // Whether the login's server answers as a panel at all (a wrong login included): a playlist
    // address of a panel is read as an account only then.
    static bool AnswersAsPanel(const ProviderLogin& login, const std::atomic<bool>* cancel);

private:
    AccountInfo info_;
    QByteArray bytes_;
    int skipped_ = 0;
};

} // namespace quorvel
