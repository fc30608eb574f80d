#include "import/m3uplaylist.h"

#include "archive/catchupattributes.h"
#include "archive/channelcatchup.h"
#include "base/blanks.h"
#include "base/exception.h"
#include "import/safename.h"

#include <QFileInfo>
#include <QString>

#include <algorithm>
#include <cctype>
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

// What an "#EXTINF:" or "#EXTM3U" line (the text after its mark) says, as views into the line.
struct ExtInf {
    std::string_view groupTitle;
    std::string_view tvgName;
    std::string_view tvgId;
    std::string_view tvgChno;
    std::string_view tvgShift;
    std::string_view tvgLogo;
    std::string_view userAgent;
    std::string_view referrer;
    std::string_view origin;
    std::vector<std::string_view> guides; // "x-tvg-url", "url-tvg", in order
    CatchupAttributes catchup;
    std::string_view title;
};

bool NameIs(std::string_view name, std::string_view wanted)
{
    return name.size() == wanted.size() && StartsWithNoCase(name, wanted);
}

// The first of an attribute named twice counts. (A field never set has no data at all; a value
// read from the line, even an empty one, points into it.)
void Keep(std::string_view& field, std::string_view value)
{
    if (field.data() == nullptr)
        field = value;
}

ExtInf ParseExtInf(std::string_view s)
{
    ExtInf info;
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
        value = Trim(value);
        if (NameIs(name, "group-title"))
            Keep(info.groupTitle, value);
        else if (NameIs(name, "tvg-name"))
            Keep(info.tvgName, value);
        else if (NameIs(name, "tvg-id"))
            Keep(info.tvgId, value);
        else if (NameIs(name, "tvg-chno"))
            Keep(info.tvgChno, value);
        else if (NameIs(name, "tvg-shift"))
            Keep(info.tvgShift, value);
        else if (NameIs(name, "tvg-logo"))
            Keep(info.tvgLogo, value);
        else if (NameIs(name, "user-agent") || NameIs(name, "http-user-agent"))
            Keep(info.userAgent, value);
        else if (NameIs(name, "http-referrer") || NameIs(name, "referrer") || NameIs(name, "http-referer") ||
                 NameIs(name, "referer"))
            Keep(info.referrer, value);
        else if (NameIs(name, "http-origin") || NameIs(name, "origin"))
            Keep(info.origin, value);
        else if (NameIs(name, "x-tvg-url") || NameIs(name, "url-tvg"))
            info.guides.push_back(value);
        else
            TakeCatchupAttribute(info.catchup, name, value);
        if (last)
            return info;
    }
}

// "scheme://" at the line's start: letters, digits, "+", "-", "." after a first letter.
bool HasScheme(std::string_view address)
{
    const std::size_t sep = address.find("://");
    if (sep == 0 || sep == std::string_view::npos || sep > 32)
        return false;
    if (!std::isalpha(static_cast<unsigned char>(address[0])))
        return false;
    for (std::size_t i = 1; i < sep; ++i) {
        const auto c = static_cast<unsigned char>(address[i]);
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

// Whether a line without a scheme can be a relative reference at all: characters an address
// holds, no blanks, something to name ("a.ts", "live/1"), and not a row of "=" or "-" around a
// word.
bool LooksRelative(std::string_view line)
{
    bool named = false;
    bool alnum = false;
    const auto first = static_cast<unsigned char>(line.front());
    if (!(std::isalnum(first) || first == '.' || first == '_' || first == '~' || first == '%' || first >= 0x80))
        return false;
    for (const char ch : line) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c >= 0x80) {
            alnum = true;
            continue;
        }
        if (c == '/' || c == '.')
            named = true;
        else if (!std::strchr("-_~:?#[]@!$&'()*+,;=%", ch) || ch == '\0')
            return false;
    }
    return named && alnum;
}

std::string Shown(std::string_view line)
{
    std::string s(line.substr(0, 60));
    if (line.size() > 60)
        s += "...";
    return s;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string PercentDecoded(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() + 0 && HexDigit(s[i + 1]) >= 0 && HexDigit(s[i + 2]) >= 0) {
            out += static_cast<char>(HexDigit(s[i + 1]) * 16 + HexDigit(s[i + 2]));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

// A header value may not carry a line break into a request.
std::string HeaderValue(std::string_view s)
{
    std::string out(Trim(s));
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    if (out.size() >= 2 && (out.front() == '"' || out.front() == '\'') && out.back() == out.front())
        out = out.substr(1, out.size() - 2);
    return out;
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

std::string_view M3uPlaylist::SplitOptions(std::string_view address, RequestOptions& options)
{
    const std::size_t bar = address.find('|');
    if (bar == std::string_view::npos || address.find('=', bar) == std::string_view::npos)
        return address;
    std::string_view rest = address.substr(bar + 1);
    while (!rest.empty()) {
        const std::size_t amp = rest.find('&');
        const std::string_view pair = rest.substr(0, amp);
        rest = amp == std::string_view::npos ? std::string_view() : rest.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        if (eq == std::string_view::npos)
            continue;
        const std::string_view name = Trim(pair.substr(0, eq));
        const std::string value = HeaderValue(PercentDecoded(pair.substr(eq + 1)));
        if (NameIs(name, "User-Agent"))
            options.userAgent = value;
        else if (NameIs(name, "Referer") || NameIs(name, "Referrer"))
            options.referrer = value;
        else if (NameIs(name, "Origin"))
            options.origin = value;
    }
    return Trim(address.substr(0, bar));
}

void M3uPlaylist::ReadLines(std::string_view text, const QUrl& base)
{
    bool extended = false; // "#EXTM3U" or "#EXTINF" seen
    bool pending = false;  // an "#EXTINF" waits for its address
    bool headerSeen = false;
    ExtInf info;
    std::string extGroup;        // of the entry being read only
    RequestOptions vlcOptions;   // "#EXTVLCOPT" lines of the entry being read
    std::string headerUserAgent; // of the "#EXTM3U" line the entry stands under
    CatchupAttributes headerCatchup;
    const bool localBase = !base.isEmpty() && (base.isLocalFile() || base.scheme().isEmpty());
    const bool webBase = !base.isEmpty() && (base.scheme().compare(QLatin1String("http"), Qt::CaseInsensitive) == 0 ||
                                             base.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0);
    const QString baseFolder =
        localBase ? QFileInfo(base.isLocalFile() ? base.toLocalFile() : base.toString()).absolutePath() : QString();
    int firstJunkLine = 0; // a line that is no address in a list without any mark, for the message
    std::string_view firstJunk;
    int lineNumber = 0;
    std::size_t pos = 0;
    entries_.reserve(text.size() / 128);
    int infoLine = 0; // where the pending "#EXTINF" stands
    std::string_view infoText;
    auto unaddressed = [&] {
        ++withoutAddress_;
        if (unaddressed_.size() < kMostListed)
            unaddressed_.push_back(Unaddressed{infoLine, ShortText(info.title.empty() ? infoText : info.title)});
    };
    auto endEntry = [&] {
        pending = false;
        extGroup.clear();
        vlcOptions = RequestOptions();
    };
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
        const std::string_view raw = text.substr(pos, end - pos);
        // CR LF is one line end; a lone CR or LF is one too.
        pos = end;
        if (pos < text.size())
            pos += (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') ? 2 : 1;
        if (raw.size() > kMaxLine) {
            ++tooLongLines_;
            continue;
        }
        const std::string_view line = Trim(raw);
        if (line.empty())
            continue;
        if (line.front() == '#') {
            // Every mark starts "#EXT": the rest tells them apart.
            const std::string_view mark = StartsWithNoCase(line, "#EXT") ? line.substr(4) : std::string_view();
            if (StartsWithNoCase(mark, "INF:")) {
                if (pending)
                    unaddressed();
                info = ParseExtInf(line.substr(8));
                infoLine = lineNumber;
                infoText = line;
                pending = extended = true;
            } else if (StartsWithNoCase(mark, "M3U")) {
                // A list pasted after another starts afresh: nothing of the last one's entry or
                // header carries over.
                if (pending)
                    unaddressed();
                endEntry();
                const ExtInf header = ParseExtInf(line.substr(7));
                headerUserAgent = HeaderValue(header.userAgent);
                headerCatchup = header.catchup;
                if (!headerSeen) {
                    headerUserAgent_ = headerUserAgent;
                    headerShift_ = std::string(header.tvgShift);
                }
                headerSeen = extended = true;
                for (const std::string_view guides : header.guides) {
                    std::string_view rest = guides;
                    while (!rest.empty()) {
                        const std::size_t comma = rest.find(',');
                        const std::string_view one = Trim(rest.substr(0, comma));
                        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
                        if (!one.empty() &&
                            std::find(guideAddresses_.begin(), guideAddresses_.end(), one) == guideAddresses_.end())
                            guideAddresses_.emplace_back(one);
                    }
                }
            } else if (StartsWithNoCase(mark, "GRP:")) {
                extGroup = std::string(Trim(line.substr(8)));
            } else if (StartsWithNoCase(mark, "VLCOPT:")) {
                const std::string_view option = Trim(line.substr(11));
                const std::size_t eq = option.find('=');
                if (eq != std::string_view::npos) {
                    const std::string_view name = Trim(option.substr(0, eq));
                    const std::string value = HeaderValue(option.substr(eq + 1));
                    if (NameIs(name, "http-user-agent"))
                        vlcOptions.userAgent = value;
                    else if (NameIs(name, "http-referrer") || NameIs(name, "http-referer"))
                        vlcOptions.referrer = value;
                    else if (NameIs(name, "http-origin"))
                        vlcOptions.origin = value;
                }
            } else if (StartsWithNoCase(mark, "-X-") &&
                       (StartsWithNoCase(mark, "-X-TARGETDURATION") || StartsWithNoCase(mark, "-X-STREAM-INF") ||
                        StartsWithNoCase(mark, "-X-MEDIA-SEQUENCE") || StartsWithNoCase(mark, "-X-MEDIA:"))) {
                throw Exception("it is the playlist of a single stream (HLS), not a list of channels; "
                                "its address can be given to a channel as it is");
            }
            // Other player options (#KODIPROP) and comments are skipped.
            continue;
        }

        RequestOptions suffixOptions;
        std::string_view address = line;
        // A quoted address means the address inside.
        if (address.size() >= 2 && (address.front() == '"' || address.front() == '\'') &&
            address.back() == address.front())
            address = Trim(address.substr(1, address.size() - 2));
        address = SplitOptions(address, suffixOptions);
        std::string resolved;
        if (address.empty()) {
            resolved.clear();
        } else if (HasScheme(address)) {
            resolved = std::string(address);
        } else if (address.front() == '/') {
            // A path from the root: of the web server a web playlist came from, else of this machine.
            resolved =
                webBase && address.substr(0, 2) != "//"
                    ? base.resolved(QUrl(QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size())),
                                         QUrl::TolerantMode))
                          .toString()
                          .toStdString()
                    : std::string(address);
        } else if (extended && LooksRelative(address)) {
            const QString relative = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
            if (localBase) {
                // Beside a local playlist only a file that is there is a channel.
                const QFileInfo file(baseFolder + QLatin1Char('/') + relative);
                if (file.isFile())
                    resolved = file.absoluteFilePath().toStdString();
            } else if (webBase) {
                resolved = base.resolved(QUrl(relative, QUrl::TolerantMode)).toString().toStdString();
            }
        }
        if (resolved.empty()) {
            ++notAddresses_;
            if (!extended && firstJunkLine == 0) {
                firstJunkLine = lineNumber;
                firstJunk = line;
            }
            continue;
        }

        PlaylistEntry entry;
        entry.address = std::move(resolved);
        entry.line = lineNumber;
        if (pending) {
            entry.title = info.title.empty() ? Trim(info.tvgName) : info.title;
            entry.group = GroupOf(info.groupTitle, extGroup);
            entry.tvgId = info.tvgId;
            entry.tvgName = info.tvgName;
            entry.tvgChno = info.tvgChno;
            entry.tvgShift = info.tvgShift;
            entry.tvgLogo = info.tvgLogo;
            entry.options.userAgent = HeaderValue(info.userAgent);
            entry.options.referrer = HeaderValue(info.referrer);
            entry.options.origin = HeaderValue(info.origin);
        } else {
            entry.group = GroupOf({}, extGroup);
        }
        entry.catchup = ReadChannelCatchup(pending ? info.catchup : CatchupAttributes(), headerCatchup, entry.address,
                                           unknownPlaceholders_);
        // The nearer to the address, the stronger: attributes, then option lines, then the suffix.
        for (const RequestOptions* o : {&vlcOptions, &suffixOptions}) {
            if (!o->userAgent.empty())
                entry.options.userAgent = o->userAgent;
            if (!o->referrer.empty())
                entry.options.referrer = o->referrer;
            if (!o->origin.empty())
                entry.options.origin = o->origin;
        }
        if (entry.options.userAgent.empty())
            entry.options.userAgent = headerUserAgent;
        if (entry.title.empty())
            entry.title = std::string(address);
        endEntry();
        entries_.push_back(std::move(entry));
    }
    if (pending)
        unaddressed();
    // A file without any playlist mark counts as a plain list of addresses only when every line
    // is one: an HTML page or a text file is no playlist.
    if (!extended && firstJunkLine != 0)
        throw Exception("it is not an M3U playlist (line " + std::to_string(firstJunkLine) + ": \"" + Shown(firstJunk) +
                        "\")");
}

} // namespace quorvel
