#pragma once

#include "guide/channelbinding.h"
#include "guide/guideoutcome.h"
#include "guide/guidesink.h"
#include "guide/gunzip.h"
#include "guide/programmecollector.h"
#include "guide/wantedchannel.h"
#include "guide/xmltvparser.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace quorvel {

// Reads an XMLTV guide fed in chunks, plain or gzip-packed (told by its first bytes), and hands
// the programmes of the wanted channels to the sink as it goes. Memory follows what is kept, not
// the guide's size.
//
// Programmes usually follow the channels they belong to. One whose guide channel is not
// declared yet may belong to a wanted channel through a display name declared later: such
// programmes wait, up to kWaitingRoom bytes; past that they are left out and counted.
class GuideReader : private XmltvParser::Events {
public:
    static constexpr std::size_t kWaitingRoom = std::size_t(32) << 20;

    struct Options {
        std::int64_t now = 0;  // programmes that ended 12 hours before it are not kept
        double shiftHours = 0; // the playlist's tvg-shift, for channels without their own
        std::size_t waitingRoom = kWaitingRoom;
    };

    GuideReader(const std::vector<WantedChannel>& wanted, GuideSink& sink, const Options& options);
    ~GuideReader() override;

    // Reads the next bytes; false once reading has stopped (refused or damaged: see Finish),
    // when the rest need not be fed.
    bool Feed(const char* data, std::size_t size);
    // The end of the bytes: the last programmes go to the sink, and how it went.
    GuideOutcome Finish();

private:
    enum class Packing { Unknown, Plain, Gzip, Refused };

    bool WantsProgramme(std::string_view channel) override;
    void ProgrammeRead(std::string_view channel, Programme& programme) override;
    void ChannelRead(std::string_view id, const std::vector<std::string>& displayNames) override;

    bool Sniff(const char* data, std::size_t size);
    bool Pass(const char* data, std::size_t size);
    void Deliver(const ChannelBinding::Route& route, Programme& programme);
    void DeliverWaiting();
    void EndRun();

    ChannelBinding binding_;
    ProgrammeCollector collector_;
    XmltvParser parser_;
    std::unique_ptr<Gunzip> gunzip_;
    Packing packing_ = Packing::Unknown;
    std::string head_; // the first bytes, until they tell the packing
    std::string problem_;

    const ChannelBinding::Route* route_ = nullptr;     // of the programme being read
    const ChannelBinding::Route* lastRoute_ = nullptr; // of the programme read before
    std::unordered_map<std::string, std::vector<Programme>> waiting_;
    std::size_t waitingBytes_ = 0;
    std::size_t waitingRoom_;
    std::size_t leftOut_ = 0;
    bool finished_ = false;
};

} // namespace quorvel
