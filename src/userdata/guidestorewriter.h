#pragma once

#include "guide/guidesink.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace quorvel {

class ViewerDatabase;

// Takes a guide being read into the viewer's database, on the thread that reads it: it opens its
// own connection there. Programmes are written in transactions of a few thousand, so the window's
// own writes wait no longer than one of them. The first programmes of a channel replace what was
// kept for it from their start on; a channel the guide does not reach keeps what it had, so a
// read broken off halfway loses nothing. Finish commits the rest and drops programmes that ended
// 12 hours before now.
class GuideStoreWriter : public GuideSink {
public:
    static constexpr std::int64_t kKeptBehind = 12 * 3600;
    static constexpr std::size_t kBatch = 4000;

    // channels: the catalogue names, by the reader's index of wanted channels; guide: the
    // address the programmes are read from, kept with each.
    GuideStoreWriter(std::string databaseFile, std::vector<std::string> channels, std::string guide, std::int64_t now);
    ~GuideStoreWriter() override;

    void Take(std::size_t channel, std::span<Programme> programmes) override;
    void Finish(const GuideOutcome& outcome) override;

    // Why storing failed; empty when all was stored. Safe to ask from any thread.
    std::string Failure() const;
    std::size_t Stored() const;

private:
    struct Pending {
        std::size_t channel;
        Programme programme;
    };
    void Flush();
    void Fail(const std::string& why);

    std::string file_;
    std::vector<std::string> channels_;
    std::string guide_;
    std::int64_t now_;
    std::vector<bool> replaced_;
    std::vector<Pending> pending_;
    std::unique_ptr<ViewerDatabase> db_;
    mutable std::mutex mutex_;
    std::string failure_;
    std::size_t stored_ = 0;
};

} // namespace quorvel
