// Feeds arbitrary bytes to the readers of a panel's answers (the account, the live categories and
// the live channels) and checks what they hand on: a failure is an Exception with words, and
// every channel kept has an id and numbers in range.
#include "base/exception.h"
#include "provider/accountinfo.h"
#include "provider/accountmessages.h"
#include "provider/livelists.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool ok)
{
    if (!ok)
        std::abort();
}

template <typename Read>
void Guarded(Read read)
{
    try {
        read();
    } catch (const quorvel::Exception& e) {
        Check(!e.Message().empty());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    Guarded([&] {
        const quorvel::AccountInfo info = quorvel::AccountInfo::Read(bytes);
        Check(info.activeConnections >= 0 && info.maxConnections >= 0 && info.expiresAt >= 0);
        Check(!info.LiveExtension().isEmpty());
        const QTimeZone utc = QTimeZone::utc();
        quorvel::AccountMessages::Problem(info, 1800000000, utc);
        if (quorvel::AccountMessages::NoticeDay(info, 1800000000, 0, utc) != 0)
            Check(!quorvel::AccountMessages::Notice(info, 1800000000, utc).isEmpty());
    });
    Guarded([&] {
        for (const auto& c : quorvel::ReadLiveCategories(bytes))
            Check(!c.id.isEmpty());
    });
    Guarded([&] {
        int skipped = -1;
        const auto streams = quorvel::ReadLiveStreams(bytes, &skipped);
        Check(skipped >= 0);
        for (const auto& s : streams)
            Check(s.streamId > 0 && s.number >= 0 && s.archiveDays >= 0);
    });
    return 0;
}
