#pragma once

#include <QUrl>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

// One channel of a playlist as it stands there: title, group and address in UTF-8, the address
// already made absolute against the playlist's own location.
struct PlaylistEntry {
    std::string title;
    std::string group;
    std::string address;
    int line = 0; // line of the address, from 1
};

// An M3U or M3U8 playlist as players meet them: "#EXTM3U" optional, "#EXTINF:-1 key="value" ...,
// Title" lines (quoted values may hold commas and "="; titles may hold anything), "#EXTGRP:"
// groups, player options ("#EXTVLCOPT", "#KODIPROP") and other comments skipped, blank lines,
// CR LF, LF or CR line ends, UTF-8 with or without a byte-order mark (bytes that are not UTF-8
// are read as Latin-1), a last line without a line break.
class M3uPlaylist {
public:
    // Reads the bytes; base is where they came from (a local file or a web address), for
    // addresses given relative to it. Throws Exception when the bytes are no channel playlist.
    M3uPlaylist(std::string_view bytes, const QUrl& base);

    const std::vector<PlaylistEntry>& Entries() const { return entries_; }
    // Titles that had no address line after them.
    int WithoutAddress() const { return withoutAddress_; }

    // The group of an entry: the first of the groups its "group-title" names (several are joined
    // by ";"), else the last "#EXTGRP" above it, else empty.
    static std::string GroupOf(std::string_view groupTitle, std::string_view extGroup);

private:
    void ReadLines(std::string_view text, const QUrl& base);

    std::vector<PlaylistEntry> entries_;
    int withoutAddress_ = 0;
};

} // namespace quorvel
