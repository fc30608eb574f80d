// Feeds arbitrary bytes to the playlist reader, as a local file and as a web playlist, and checks
// what it hands on: no entry without an address, no address still carrying its options suffix,
// no request option that could break a request's header lines.
#include "base/exception.h"
#include "import/m3uplaylist.h"

#include <QUrl>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

bool HeaderSafe(const std::string& value)
{
    for (const char c : value)
        if (c == '\r' || c == '\n' || c == '\0')
            return false;
    return true;
}

void Read(std::string_view bytes, const QUrl& base)
{
    try {
        const quorvel::M3uPlaylist playlist(bytes, base);
        for (const auto& e : playlist.Entries()) {
            Check(!e.address.empty());
            Check(e.address.size() <= quorvel::M3uPlaylist::kMaxLine);
            Check(HeaderSafe(e.options.userAgent) && HeaderSafe(e.options.referrer) && HeaderSafe(e.options.origin));
            Check(e.line > 0);
        }
        Check(HeaderSafe(playlist.HeaderUserAgent()));
    } catch (const quorvel::Exception&) {
        // Refusing bytes that are no playlist is an answer too.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Read(bytes, QUrl::fromLocalFile(QStringLiteral("/nonexistent/lists/tv.m3u")));
    Read(bytes, QUrl(QStringLiteral("http://127.0.0.1:8080/lists/tv.m3u?token=1")));
    return 0;
}
