#pragma once

#include "app/sourcekind.h"
#include "provider/accountinfo.h"
#include "provider/providerlogin.h"

#include <QObject>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace quorvel {

class ChannelTree;
class PasswordBook;
class PlaylistSources;

// Reads, refreshes and removes playlist sources on a thread of its own, one job after the
// other, so that the window goes on answering while a list of a hundred thousand channels is
// downloaded and merged. It lives on that thread; jobs reach it through the thread's event loop
// and tell their outcome through the functions given, called on the worker's thread.
class PlaylistWorker : public QObject {
public:
    struct Outcome {
        QString summary;                         // what the viewer reads
        QString details;                         // the entries skipped, each with its line and why
        bool failed = false;                     // anything failed (the summary says what)
        std::shared_ptr<const ChannelTree> tree; // the catalogue after a change, else null
        // Provider accounts read well, with their logins (password and all) for the window to keep.
        struct Account {
            ProviderLogin login;
            std::int64_t sourceId = 0;
            AccountInfo info;
        };
        std::vector<Account> accounts;
    };
    struct Report {
        std::function<void(const QString& text)> progress;
        std::function<void(const Outcome& outcome)> finished;
        std::function<void(const QString& text)> notice; // the database's, once
    };

    PlaylistWorker(std::string catalogueFile, Report report, const std::atomic<bool>* cancel);
    ~PlaylistWorker() override;

    // Where remembered accounts' passwords are found; before the first job.
    void SetPasswords(std::shared_ptr<const PasswordBook> book) { passwords_ = std::move(book); }

    // Reads a playlist into the catalogue, or remembers a programme guide (kind ByContent
    // tells them apart by their first bytes). A panel's playlist address is read as its account.
    void Add(const QString& location, SourceKind kind = SourceKind::Playlist);
    // Reads a provider account's live lists into the catalogue.
    void AddAccount(const ProviderLogin& login);
    // Completes or undoes a change of the catalogue that was cut short (see PlaylistSources).
    void Repair();
    // Reads again every source (maxAgeSeconds < 0) or those read longer ago than that.
    void Refresh(long long maxAgeSeconds);
    void Remove(long long sourceId);
    void RemoveGuide(const QString& location);

private:
    PlaylistSources& Sources();
    void Progress(const QString& text);
    void Finish(Outcome outcome, bool changed);
    SourceKind Tell(const QString& location);
    void AddGuide(const QString& location);

    std::string catalogue_;
    Report report_;
    const std::atomic<bool>* cancel_;
    std::unique_ptr<PlaylistSources> sources_;
    std::shared_ptr<const PasswordBook> passwords_;
    bool noticed_ = false;
    long long lastProgressMs_ = 0;
};

} // namespace quorvel
