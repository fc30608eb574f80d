#include "provider/livelists.h"

#include "base/exception.h"
#include "provider/providerjson.h"

#include <QJsonArray>
#include <QJsonObject>

namespace quorvel {
namespace {

// The list's entries, from an array or from an object whose values are the entries.
QJsonArray Entries(const QByteArray& answer, const char* what)
{
    const QJsonDocument doc = ParseAnswer(answer, what);
    if (doc.isArray())
        return doc.array();
    if (doc.isObject()) {
        const QJsonObject o = doc.object();
        // A wrong login on an action answers with the account part only.
        if (o.contains(QLatin1String("user_info")) || o.contains(QLatin1String("auth")))
            throw Exception(std::string("The server did not give ") + what + ": it did not take the login");
        QJsonArray values;
        for (auto it = o.begin(); it != o.end(); ++it)
            values.append(it.value());
        return values;
    }
    throw Exception(std::string("The server's answer for ") + what + " is not a list");
}

} // namespace

std::vector<LiveCategory> ReadLiveCategories(const QByteArray& answer)
{
    std::vector<LiveCategory> out;
    for (const QJsonValue& v : Entries(answer, "the live categories")) {
        if (!v.isObject())
            continue;
        const QJsonObject o = v.toObject();
        LiveCategory c{JsonText(o.value(QLatin1String("category_id"))),
                       JsonText(o.value(QLatin1String("category_name")))};
        if (!c.id.isEmpty())
            out.push_back(std::move(c));
    }
    return out;
}

std::vector<LiveStream> ReadLiveStreams(const QByteArray& answer, int* skipped)
{
    const QJsonArray entries = Entries(answer, "the live channels");
    std::vector<LiveStream> out;
    out.reserve(static_cast<std::size_t>(entries.size()));
    int left = 0;
    for (const QJsonValue& v : entries) {
        const QJsonObject o = v.toObject();
        LiveStream s;
        s.streamId = JsonInteger(o.value(QLatin1String("stream_id")), 0);
        if (!v.isObject() || s.streamId <= 0) {
            ++left;
            continue;
        }
        const qint64 number = JsonInteger(o.value(QLatin1String("num")), 0);
        s.number = number > 0 && number < 1000000 ? static_cast<int>(number) : 0;
        s.name = JsonText(o.value(QLatin1String("name")));
        s.categoryId = JsonText(o.value(QLatin1String("category_id")));
        s.icon = JsonText(o.value(QLatin1String("stream_icon")));
        s.epgId = JsonText(o.value(QLatin1String("epg_channel_id")));
        s.archive = JsonInteger(o.value(QLatin1String("tv_archive")), 0) != 0;
        const qint64 days = JsonInteger(o.value(QLatin1String("tv_archive_duration")), 0);
        s.archiveDays = days > 0 && days < 3650 ? static_cast<int>(days) : 0;
        out.push_back(std::move(s));
    }
    if (skipped)
        *skipped = left;
    return out;
}

} // namespace quorvel
