#pragma once

#include "base/requestoptions.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

namespace quorvel {

class ViewerConnection;

// A playlist the viewer added, as last read.
struct SourceRecord {
    std::int64_t id = 0;
    std::string location;                    // a file path or an http(s) address, as given
    std::int64_t lastRead = 0;               // seconds since the epoch of the last good read; 0 never
    std::vector<std::string> guideAddresses; // the programme guides its header names
    std::string userAgent;                   // its header's user agent
    std::string lastError;                   // why the last read failed; empty after a good one
    std::string tvgShift;                    // its header's tvg-shift, for channels without their own
};

// One channel of a source as its last good read listed it.
struct SourceChannel {
    std::string category; // its category in the catalogue
    std::string name;     // its key in the catalogue
    std::string address;
    RequestOptions options;
    std::string tvgId;
    std::string tvgName;
    std::string tvgChno;
    std::string tvgShift;
    std::string logo; // the address of its logo, as the playlist gave it
    // Its archive as the playlist gave it, checked: the catch-up mode's name (empty for none),
    // how many days back it reaches, the source of its address and the provider's correction.
    std::string catchupMode;
    int catchupDays = 0;
    std::string catchupSource;
    int catchupCorrectionMinutes = 0;
    // The source brought it into the catalogue (a refresh that no longer lists it removes it);
    // false for a channel that was there before the source first listed it.
    bool owned = true;
};

// The viewer's own data in one SQLite file beside the catalogue: write-ahead logging and a wait
// for locks, so that a second player or quorvel-import working at the same time shares it; a
// schema version brought up to date on opening; every change in one transaction. A database
// that is damaged or cannot be read is moved aside with the date in its name and a fresh one
// started; Notice() says so once. When not even a fresh file can be made, the data lives in
// memory until the program ends, and Notice() says that.
//
// An object belongs to the thread that made it: each thread opens its own.
// Failures after opening (a full disk, a lock held too long) throw Exception.
// A channel's logo as its playlist gave it, with what its requests must carry.
struct ChannelLogo {
    std::string name;
    std::string address;
    RequestOptions options;
};

class ViewerDatabase {
public:
    static constexpr const char* FileName = "viewer.db";
    static constexpr int kSchemaVersion = 11;

    // The database file that goes with a catalogue file: in its folder.
    static std::string FileBeside(const std::string& catalogueFile);
    // Every page of a file is checked at its first opening in this process only; a file changed
    // behind the program's back (restored from a backup, damaged on purpose) is checked again
    // after this.
    static void ForgetCheckedFiles();
    // Loads Qt's SQLite driver on a thread of the pool, once: the first opening found it loaded
    // instead of spending 10-15 ms of the window's start on loading it.
    static void LoadDriverAhead();

    explicit ViewerDatabase(std::string file);
    ~ViewerDatabase();
    ViewerDatabase(const ViewerDatabase&) = delete;
    ViewerDatabase& operator=(const ViewerDatabase&) = delete;

    const std::string& File() const { return file_; }
    // What the viewer must be told about opening, once; empty when all went well.
    const std::string& Notice() const { return notice_; }
    // Nothing on disk could be used: the data lives until the program ends.
    bool InMemory() const { return inMemory_; }
    int SchemaVersion() const;
    // The Qt SQL connection's name, for the stores of this folder that keep tables of their own.
    std::string ConnectionName() const;

    std::vector<SourceRecord> Sources() const;
    std::optional<SourceRecord> FindSource(const std::string& location) const;
    std::optional<SourceRecord> FindSource(std::int64_t id) const;
    std::vector<SourceChannel> Channels(std::int64_t source) const;
    // The catalogue names the other sources list (for a channel that two sources share).
    std::unordered_set<std::string> NamesOfOtherSources(std::int64_t source) const;

    // Remembers a good read of a source: its record (found by location; id ignored) and the
    // channels it now lists, in place of those it listed before. Returns the source's id.
    // within runs inside the same transaction, on this connection: what it stores commits with
    // the read or not at all, and an Exception it throws undoes the whole change.
    std::int64_t StoreRead(const SourceRecord& source, const std::vector<SourceChannel>& channels,
                           const std::function<void()>& within = {});
    // Notes why a read failed; the channels stay as last read.
    void StoreFailure(std::int64_t source, const std::string& why);
    // Forgets a source and its channels; within as for StoreRead.
    void RemoveSource(std::int64_t source, const std::function<void()>& within = {});

    // What the channel of that catalogue name must send with its requests (names match without
    // regard to ASCII letter case, as catalogue lookups do); empty when no source gives any.
    RequestOptions RequestOptionsOf(const std::string& channel) const;
    // The channel of that catalogue name (any ASCII letter case) with an archive, from the
    // first source that gives it one, its tvg-shift the source's when it has none of its own;
    // none when no source gives it an archive.
    std::optional<SourceChannel> ArchiveChannel(const std::string& channel) const;
    // Every channel's logo, in the order of the sources that gave them.
    std::vector<ChannelLogo> ChannelLogos() const;
    // The channel numbers the sources give ("tvg-chno"), by catalogue name: where two sources
    // give one for the same channel, the source added first speaks.
    std::vector<std::pair<std::string, std::string>> GivenChannelNumbers() const;

    // Programme guides the viewer added by address (a file or an http(s) address), read beside
    // those the playlists name; in the order added.
    std::vector<std::string> GuideSources() const;
    // False when it was added already.
    bool AddGuideSource(const std::string& location, std::int64_t when);
    void RemoveGuideSource(const std::string& location);
    // Drops the programmes read from guides not in the list (a guide removed, or no playlist
    // naming it any more); gives how many went. Those kept from before guides were told apart
    // stay until they age out.
    std::size_t ForgetGuidesOtherThan(const std::vector<std::string>& read);

private:
    void Open();

    std::string file_;
    std::string notice_;
    bool inMemory_ = false;
    std::unique_ptr<ViewerConnection> db_;
};

} // namespace quorvel
