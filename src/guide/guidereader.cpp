#include "guide/guidereader.h"

#include <cmath>
#include <cstring>

namespace quorvel {
namespace {

std::vector<std::int64_t> ShiftSeconds(const std::vector<WantedChannel>& wanted, double playlistHours)
{
    std::vector<std::int64_t> seconds;
    seconds.reserve(wanted.size());
    for (const WantedChannel& channel : wanted) {
        double hours = channel.shiftHours.value_or(playlistHours);
        // A shift of more than two days is a mistake of the playlist's, not a zone.
        if (!std::isfinite(hours) || std::fabs(hours) > 48)
            hours = 0;
        seconds.push_back(std::llround(hours * 3600));
    }
    return seconds;
}

bool StartsWith(const std::string& bytes, const char* magic, std::size_t size)
{
    return bytes.size() >= size && std::memcmp(bytes.data(), magic, size) == 0;
}

std::size_t Weight(const Programme& p)
{
    return sizeof p + p.title.size() + p.subTitle.size() + p.description.size() + p.category.size();
}

constexpr std::int64_t kKeptBefore = 12 * 3600;
constexpr std::size_t kMagic = 6; // the longest packing signature

} // namespace

GuideReader::GuideReader(const std::vector<WantedChannel>& wanted, GuideSink& sink, const Options& options)
    : binding_(wanted), collector_(ShiftSeconds(wanted, options.shiftHours), sink, options.now - kKeptBefore),
      parser_(*this), waitingRoom_(options.waitingRoom)
{
}

GuideReader::~GuideReader() = default;

bool GuideReader::Feed(const char* data, std::size_t size)
{
    if (finished_ || packing_ == Packing::Refused)
        return false;
    if (packing_ == Packing::Unknown) {
        const std::size_t take = std::min(size, kMagic - head_.size());
        head_.append(data, take);
        data += take;
        size -= take;
        if (head_.size() < kMagic)
            return true;
        if (!Sniff(head_.data(), head_.size()))
            return false;
    }
    return size == 0 || Pass(data, size);
}

bool GuideReader::Sniff(const char* data, std::size_t size)
{
    if (StartsWith(head_, "\x1f\x8b", 2)) {
        packing_ = Packing::Gzip;
        gunzip_ = std::make_unique<Gunzip>();
    } else if (StartsWith(head_,
                          "\xfd"
                          "7zXZ",
                          5) ||
               StartsWith(head_, "BZh", 3) || StartsWith(head_, "PK\x03\x04", 4) ||
               StartsWith(head_, "\x28\xb5\x2f\xfd", 4)) {
        packing_ = Packing::Refused;
        problem_ = "the guide is packed in a way not read here (only gzip is)";
        return false;
    } else {
        packing_ = Packing::Plain;
    }
    return Pass(data, size);
}

bool GuideReader::Pass(const char* data, std::size_t size)
{
    if (packing_ == Packing::Plain)
        return parser_.Feed(data, size);
    return gunzip_->Feed(data, size, [this](const char* out, std::size_t n) { return parser_.Feed(out, n); });
}

bool GuideReader::WantsProgramme(std::string_view channel)
{
    route_ = binding_.RouteOf(channel);
    if (!waiting_.empty())
        DeliverWaiting();
    if (route_) {
        EndRun();
        return true;
    }
    if (binding_.IsDeclared(channel))
        return false;
    if (waitingBytes_ < waitingRoom_)
        return true;
    ++leftOut_;
    return false;
}

void GuideReader::EndRun()
{
    if (lastRoute_ && lastRoute_ != route_)
        for (std::uint32_t channel : *lastRoute_)
            collector_.EndRun(channel);
    lastRoute_ = route_;
}

void GuideReader::ProgrammeRead(std::string_view channel, Programme& programme)
{
    if (route_) {
        Deliver(*route_, programme);
        return;
    }
    waitingBytes_ += Weight(programme);
    waiting_[binding_.Key(channel)].push_back(std::move(programme));
}

void GuideReader::Deliver(const ChannelBinding::Route& route, Programme& programme)
{
    for (std::size_t i = 0; i + 1 < route.size(); ++i)
        collector_.Add(route[i], programme);
    if (!route.empty())
        collector_.Add(route.back(), std::move(programme));
}

void GuideReader::DeliverWaiting()
{
    for (const std::string& id : binding_.TakeNewlyBound()) {
        auto it = waiting_.find(id);
        if (it == waiting_.end())
            continue;
        const ChannelBinding::Route* route = binding_.RouteOf(id);
        for (Programme& programme : it->second) {
            waitingBytes_ -= Weight(programme);
            if (route)
                Deliver(*route, programme);
        }
        waiting_.erase(it);
    }
}

void GuideReader::ChannelRead(std::string_view id, const std::vector<std::string>& displayNames)
{
    binding_.Declare(id, displayNames);
}

GuideOutcome GuideReader::Finish()
{
    GuideOutcome outcome;
    if (finished_) {
        outcome.problem = "the guide was read already";
        return outcome;
    }
    finished_ = true;
    if (packing_ == Packing::Unknown) {
        if (head_.empty())
            problem_ = "the file is empty, no programme guide";
        else
            Sniff(head_.data(), head_.size());
    }
    if (packing_ != Packing::Refused && problem_.empty()) {
        // A guide refused or broken on the way says why; a packed one that broke off says so
        // rather than that its XML ends early.
        const bool stoppedBefore = !parser_.Problem().empty();
        const bool whole = parser_.Finish();
        if (stoppedBefore)
            problem_ = parser_.Problem();
        else if (gunzip_ && !gunzip_->Complete())
            problem_ = gunzip_->Problem().empty() ? "the packed guide ends early" : gunzip_->Problem();
        else if (!whole)
            problem_ = parser_.Problem();
    }
    binding_.Settle();
    DeliverWaiting();
    collector_.Finish();
    outcome.programmes = collector_.Kept();
    outcome.channels = collector_.ChannelsKept();
    outcome.matched = binding_.BoundCount();
    outcome.leftOut = leftOut_;
    outcome.lastStop = collector_.LastStop();
    outcome.complete = problem_.empty();
    outcome.problem = problem_;
    if (!outcome.complete && outcome.programmes > 0)
        outcome.problem += "; the programmes read before that are kept";
    return outcome;
}

} // namespace quorvel
