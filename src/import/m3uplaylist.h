#pragma once

#include "archive/readcatchup.h"
#include "base/requestoptions.h"

#include <QUrl>

#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One channel of a playlist as it stands there: title, group and address in UTF-8, the address
// already made absolute against the playlist's own location and without the request options a
// "|" suffix gave it.
struct PlaylistEntry {
    std::string title;
    std::string group;
    std::string address;
    int line = 0;           // line of the address, from 1
    RequestOptions options; // what its server wants to see, empty fields not sent
    // The guide's names for the channel, as written ("tvg-id", "tvg-name", "tvg-chno", "tvg-shift").
    std::string tvgId;
    std::string tvgName;
    std::string tvgChno;
    std::string tvgShift;
    // The channel's logo ("tvg-logo"), an address as written.
    std::string tvgLogo;
    // Its archive, from its own catch-up attributes over those of the "#EXTM3U" line above it;
    // refused with the reason when the archive cannot be used.
    CatchupOutcome catchup;
};

// An M3U or M3U8 playlist as players meet them: "#EXTM3U" optional, "#EXTINF:-1 key="value" ...,
// Title" lines (quoted values may hold commas and "="; titles may hold anything), "#EXTGRP:"
// groups (each for the one entry it stands in), the request options of "#EXTVLCOPT" lines, of
// "#EXTINF" attributes, of the "#EXTM3U" line (a user agent for every entry without its own) and
// of an address's "|Name=value&..." suffix; other options and comments skipped, blank lines,
// CR LF, LF or CR line ends, UTF-8 with or without a byte-order mark (bytes that are not UTF-8
// are read as Latin-1), a last line without a line break. Several lists pasted into one file
// read as one: a further "#EXTM3U" line starts afresh. A line that is neither a mark nor an
// address (a decorative "=====news=====", a note) is no channel; a relative address counts only
// when it names an existing file beside a local playlist or resolves against a web one.
class M3uPlaylist {
public:
    // Reads the bytes; base is where they came from (a local file or a web address), for
    // addresses given relative to it. Throws Exception when the bytes are no channel playlist.
    M3uPlaylist(std::string_view bytes, const QUrl& base);

    const std::vector<PlaylistEntry>& Entries() const { return entries_; }
    // Titles that had no address line after them.
    int WithoutAddress() const { return withoutAddress_; }
    // Those titles, where they stand (the "#EXTINF" line) and their text cut short; the first
    // kMostListed only.
    struct Unaddressed {
        int line = 0;
        std::string text;
    };
    const std::vector<Unaddressed>& WithoutAddressListed() const { return unaddressed_; }
    static constexpr std::size_t kMostListed = 1000;
    // Lines that were neither a mark nor an address, and lines too long to be either.
    int NotAddresses() const { return notAddresses_; }
    int TooLongLines() const { return tooLongLines_; }
    // The programme guide addresses the "#EXTM3U" lines name ("x-tvg-url", "url-tvg"), in order,
    // each once.
    const std::vector<std::string>& GuideAddresses() const { return guideAddresses_; }
    // The user agent the first "#EXTM3U" line gives every entry without its own.
    const std::string& HeaderUserAgent() const { return headerUserAgent_; }
    // The "tvg-shift" of the first "#EXTM3U" line, as written: the hours the guide's times move
    // for every channel without a shift of its own.
    const std::string& HeaderShift() const { return headerShift_; }
    // Placeholders of the archive addresses that mean nothing, each once, in order.
    const std::vector<std::string>& UnknownCatchupPlaceholders() const { return unknownPlaceholders_; }

    // Longest line read; longer ones are counted and skipped (no address or title is that long).
    static constexpr std::size_t kMaxLine = 64 * 1024;

    // Splits "address|User-Agent=...&Referer=..." into the address and the options its suffix
    // names (values percent-encoded); an address without such a suffix stays whole.
    static std::string_view SplitOptions(std::string_view address, RequestOptions& options);

    // The group of an entry: the first of the groups its "group-title" names (several are joined
    // by ";"), else the last "#EXTGRP" above it, else empty.
    static std::string GroupOf(std::string_view groupTitle, std::string_view extGroup);

private:
    void ReadLines(std::string_view text, const QUrl& base);

    std::vector<PlaylistEntry> entries_;
    std::vector<Unaddressed> unaddressed_;
    std::vector<std::string> guideAddresses_;
    std::string headerUserAgent_;
    std::string headerShift_;
    std::vector<std::string> unknownPlaceholders_;
    int withoutAddress_ = 0;
    int notAddresses_ = 0;
    int tooLongLines_ = 0;
};

} // namespace quorvel
