#include "import/m3uplaylist.h"

#include "base/blanks.h"
#include "base/exception.h"

#include <QFileInfo>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace quorvel {
namespace {

std::string_view Trim(std::string_view s) { return TrimBlanks(s); }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view s, std::string_view prefix)
{
    if (s.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (Lower(s[i]) != Lower(prefix[i]))
            return false;
    return true;
}

bool IsUtf8(std::string_view s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            // Most playlists are mostly ASCII: step over it eight bytes at a time.
            ++i;
            std::uint64_t word;
            while (i + 8 <= n && (std::memcpy(&word, s.data() + i, 8), (word & 0x8080808080808080ull) == 0))
                i += 8;
            continue;
        }
        int more;
        unsigned min;
        unsigned cp;
        if ((c & 0xE0) == 0xC0) {
            more = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            more = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            more = 3, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (i + static_cast<std::size_t>(more) >= n)
            return false;
        for (int k = 1; k <= more; ++k) {
            const auto d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

// What an "#EXTINF:" line (the text after the colon) says of its entry, as views into the line.
struct ExtInf {
    std::string_view groupTitle;
    std::string_view tvgName;
    std::string_view title;
};

bool NameIs(std::string_view name, std::string_view wanted)
{
    return name.size() == wanted.size() && StartsWithNoCase(name, wanted);
}

ExtInf ParseExtInf(std::string_view s)
{
    ExtInf info;
    bool haveGroup = false;
    bool haveName = false;
    std::size_t i = 0;
    // The duration.
    while (i < s.size() && !IsBlank(s[i]) && s[i] != ',')
        ++i;
    for (;;) {
        while (i < s.size() && IsBlank(s[i]))
            ++i;
        if (i >= s.size())
            return info; // no comma: no title
        if (s[i] == ',') {
            info.title = Trim(s.substr(i + 1));
            return info;
        }
        const std::size_t nameBegin = i;
        while (i < s.size() && !IsBlank(s[i]) && s[i] != ',' && s[i] != '=')
            ++i;
        const std::string_view name = s.substr(nameBegin, i - nameBegin);
        if (i >= s.size() || s[i] != '=')
            continue; // a bare word: nothing to keep
        ++i;
        std::string_view value;
        bool last = false;
        if (i < s.size() && (s[i] == '"' || s[i] == '\'')) {
            const char quote = s[i++];
            const std::size_t close = s.find(quote, i);
            // An unclosed quote runs to the line's end; the line then has no title.
            last = close == std::string_view::npos;
            value = s.substr(i, last ? std::string_view::npos : close - i);
            i = last ? s.size() : close + 1;
        } else {
            const std::size_t valueBegin = i;
            while (i < s.size() && !IsBlank(s[i]) && s[i] != ',')
                ++i;
            value = s.substr(valueBegin, i - valueBegin);
        }
        // The first of an attribute named twice counts.
        if (!haveGroup && NameIs(name, "group-title")) {
            info.groupTitle = value;
            haveGroup = true;
        } else if (!haveName && NameIs(name, "tvg-name")) {
            info.tvgName = value;
            haveName = true;
        }
        if (last)
            return info;
    }
}

bool HasScheme(std::string_view address) { return address.find("://") != std::string_view::npos; }

std::string Resolve(std::string_view address, const QUrl& base)
{
    if (HasScheme(address) || base.isEmpty())
        return std::string(address);
    const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
    if (base.isLocalFile() || base.scheme().isEmpty()) {
        if (address.front() == '/')
            return std::string(address);
        const QString file = base.isLocalFile() ? base.toLocalFile() : base.toString();
        return QFileInfo(QFileInfo(file).absolutePath() + QLatin1Char('/') + text).absoluteFilePath().toStdString();
    }
    return base.resolved(QUrl(text, QUrl::TolerantMode)).toString().toStdString();
}

std::string Shown(std::string_view line)
{
    std::string s(line.substr(0, 60));
    if (line.size() > 60)
        s += "...";
    return s;
}

} // namespace

std::string M3uPlaylist::GroupOf(std::string_view groupTitle, std::string_view extGroup)
{
    std::string_view rest = groupTitle;
    while (!rest.empty()) {
        const auto semicolon = rest.find(';');
        const std::string_view part = Trim(rest.substr(0, semicolon));
        if (!part.empty())
            return std::string(part);
        if (semicolon == std::string_view::npos)
            break;
        rest.remove_prefix(semicolon + 1);
    }
    return std::string(Trim(extGroup));
}

M3uPlaylist::M3uPlaylist(std::string_view bytes, const QUrl& base)
{
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (bytes.find('\0') != std::string_view::npos)
        throw Exception("it is not a playlist: it holds binary data");
    if (IsUtf8(bytes)) {
        ReadLines(bytes, base);
    } else {
        const QByteArray utf8 = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())).toUtf8();
        ReadLines(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())), base);
    }
}

void M3uPlaylist::ReadLines(std::string_view text, const QUrl& base)
{
    bool extended = false;      // "#EXTM3U" or "#EXTINF" seen
    bool pending = false;       // an "#EXTINF" waits for its address
    ExtInf info;
    std::string extGroup;
    struct Plain {
        int line;
        std::string_view text;
    };
    std::vector<Plain> unmarked; // address lines of a list without any playlist mark, to check
    int lineNumber = 0;
    std::size_t pos = 0;
    entries_.reserve(text.size() / 128);
    // Where the next CR and the next LF are: each looked for again only once passed, by memchr
    // (a search for either of the two at once would test every byte against both in turn).
    auto next = [&text](char c, std::size_t from) {
        if (from >= text.size())
            return text.size();
        const void* at = std::memchr(text.data() + from, c, text.size() - from);
        return at ? static_cast<std::size_t>(static_cast<const char*>(at) - text.data()) : text.size();
    };
    std::size_t nextCr = next('\r', 0);
    std::size_t nextLf = next('\n', 0);
    while (pos < text.size()) {
        if (nextCr < pos)
            nextCr = next('\r', pos);
        if (nextLf < pos)
            nextLf = next('\n', pos);
        const std::size_t end = std::min(nextCr, nextLf);
        ++lineNumber;
        const std::string_view line = Trim(text.substr(pos, end - pos));
        // CR LF is one line end; a lone CR or LF is one too.
        pos = end;
        if (pos < text.size())
            pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        if (line.empty())
            continue;
        if (line.front() == '#') {
            // Every mark starts "#EXT": the rest tells them apart.
            const std::string_view mark = StartsWithNoCase(line, "#EXT") ? line.substr(4) : std::string_view();
            if (StartsWithNoCase(mark, "INF:")) {
                if (pending)
                    ++withoutAddress_;
                info = ParseExtInf(line.substr(8));
                pending = extended = true;
            } else if (StartsWithNoCase(mark, "M3U")) {
                extended = true;
            } else if (StartsWithNoCase(mark, "GRP:")) {
                extGroup = std::string(Trim(line.substr(8)));
            } else if (StartsWithNoCase(mark, "-X-") &&
                       (StartsWithNoCase(mark, "-X-TARGETDURATION") || StartsWithNoCase(mark, "-X-STREAM-INF") ||
                        StartsWithNoCase(mark, "-X-MEDIA-SEQUENCE") || StartsWithNoCase(mark, "-X-MEDIA:"))) {
                throw Exception("it is the playlist of a single stream (HLS), not a list of channels; "
                                "its address can be given to a channel as it is");
            }
            // Player options (#EXTVLCOPT, #KODIPROP) and other comments are skipped.
            continue;
        }
        if (!extended)
            unmarked.push_back(Plain{lineNumber, line});
        PlaylistEntry entry;
        entry.address = Resolve(line, base);
        entry.line = lineNumber;
        if (pending) {
            entry.title = info.title.empty() ? Trim(info.tvgName) : info.title;
            entry.group = GroupOf(info.groupTitle, extGroup);
        } else {
            entry.group = GroupOf({}, extGroup);
        }
        if (entry.title.empty())
            entry.title = std::string(line);
        pending = false;
        entries_.push_back(std::move(entry));
    }
    if (pending)
        ++withoutAddress_;
    // A file without any playlist mark counts as a plain list of addresses only when every line
    // is one: an HTML page or a text file is no playlist.
    if (!extended) {
        for (const auto& plain : unmarked) {
            if (!HasScheme(plain.text) && plain.text.front() != '/')
                throw Exception("it is not an M3U playlist (line " + std::to_string(plain.line) + ": \"" +
                                Shown(plain.text) + "\")");
        }
    }
}

} // namespace quorvel
