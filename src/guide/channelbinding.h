#pragma once

#include "guide/wantedchannel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace quorvel {

// Which guide channel feeds which wanted channel. A wanted channel takes the guide channel whose
// id is its tvg-id; failing that, the first whose display name is its tvg-name; failing that,
// the first whose display name is its name (all compared as FoldGuideName folds them).
//
// Guides declare their channels before the programmes, so the choice is made when the first
// programme after a run of declarations is routed, with every declaration of that run known.
// From then on a wanted channel keeps the guide channel it was given (its programmes may have
// been handed out); channels declared later only bind wanted channels that have none yet.
// A programme whose guide channel is the tvg-id of an unbound wanted channel binds it at once,
// declared or not: nothing could beat that match.
class ChannelBinding {
public:
    using Route = std::vector<std::uint32_t>; // indexes of wanted channels

    explicit ChannelBinding(const std::vector<WantedChannel>& wanted);

    // A <channel> element: its id and display names.
    void Declare(std::string_view id, const std::vector<std::string>& displayNames);

    // The wanted channels that take the programmes of guide channel id; nullptr for none (yet).
    const Route* RouteOf(std::string_view id);

    // Whether a <channel> element declared id. Only so many ids are remembered (a guide that
    // declares more is answered "no" for the rest).
    bool IsDeclared(std::string_view id);

    // Binds the wanted channels the declarations so far chose (as RouteOf does first).
    void Settle();

    // Folded ids of guide channels that gained wanted channels since the last call.
    std::vector<std::string> TakeNewlyBound();

    // The folded form of a guide channel id, as RouteOf and IsDeclared look it up.
    const std::string& Key(std::string_view id);

    std::size_t BoundCount() const { return boundCount_; }

private:
    static constexpr int kNoMatch = 3;
    static constexpr std::size_t kMaxRemembered = std::size_t(1) << 18;

    struct Candidate {
        std::string id;      // folded
        int rank = kNoMatch; // 0 tvg-id, 1 tvg-name, 2 name
        bool bound = false;
    };
    struct NameUse {
        std::uint32_t channel;
        int rank;
    };

    void Offer(std::uint32_t channel, const std::string& id, int rank);
    void Bind(std::uint32_t channel, const std::string& id);

    std::vector<Candidate> candidates_;
    std::unordered_map<std::string, std::vector<std::uint32_t>> byTvgId_;
    std::unordered_map<std::string, std::vector<NameUse>> byName_;
    std::unordered_map<std::string, Route> routes_;
    std::unordered_set<std::string> declared_;
    std::vector<std::uint32_t> offered_; // channels with a candidate not yet bound
    std::vector<std::string> newlyBound_;
    std::size_t boundCount_ = 0;
    std::string key_;
    std::string nameKey_;
};

} // namespace quorvel
