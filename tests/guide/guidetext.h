#pragma once

#include "guide/guideoutcome.h"
#include "guide/programmelist.h"
#include "guide/wantedchannel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::test {

// 2026-12-07 18:30:00 UTC, the "now" the guides of the tests are read at.
constexpr std::int64_t kNow = 1796668200;

// A guide's time of kNow moved by the given minutes, as "YYYYMMDDhhmmss +0000".
std::string GuideTime(int minutesFromNow);

// A <programme> element, with a stop unless stopMinutes is kNoStop.
constexpr int kNoStop = 1 << 30;
std::string ProgrammeXml(const std::string& channel, int startMinutes, int stopMinutes, const std::string& title);
std::string ChannelXml(const std::string& id, const std::vector<std::string>& displayNames);
std::string Tv(const std::string& body);

std::string Gzip(const std::string& bytes);

struct ReadResult {
    ProgrammeList list;
    GuideOutcome outcome;
    std::vector<std::string> Titles(std::size_t channel) const;
};

// Reads the guide fed in chunks of the given size.
ReadResult ReadGuide(const std::string& bytes, const std::vector<WantedChannel>& wanted, std::size_t chunk = 5,
                     double shiftHours = 0);

} // namespace quorvel::test
