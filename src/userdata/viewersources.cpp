// The viewer's database, its records: the playlist sources and the channels each listed, and the
// guides the viewer added.
#include "base/exception.h"
#include "userdata/viewerconnection.h"
#include "userdata/viewerdatabase.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace quorvel {
namespace {

using SqlFailure = ViewerConnection::SqlFailure;

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QVariant& v) { return v.toString().toStdString(); }

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const auto& line : lines)
        out += (out.empty() ? "" : "\n") + line;
    return out;
}

std::vector<std::string> Split(const std::string& text)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        const std::string line = text.substr(pos, nl == std::string::npos ? std::string::npos : nl - pos);
        if (!line.empty())
            out.push_back(line);
        if (nl == std::string::npos)
            break;
        pos = nl + 1;
    }
    return out;
}

SourceRecord RecordOf(const QSqlQuery& q)
{
    SourceRecord r;
    r.id = q.value(0).toLongLong();
    r.location = S(q.value(1));
    r.lastRead = q.value(2).toLongLong();
    r.guideAddresses = Split(S(q.value(3)));
    r.userAgent = S(q.value(4));
    r.lastError = S(q.value(5));
    r.tvgShift = S(q.value(6));
    return r;
}

void ReadArchive(const QSqlQuery& q, int first, SourceChannel& c)
{
    c.catchupMode = S(q.value(first));
    c.catchupDays = q.value(first + 1).toInt();
    c.catchupSource = S(q.value(first + 2));
    c.catchupCorrectionMinutes = q.value(first + 3).toInt();
}

// A channel's first ten columns, category to tvg_shift, as both channel reads select them.
SourceChannel ReadChannelHead(const QSqlQuery& q)
{
    SourceChannel c;
    c.category = S(q.value(0));
    c.name = S(q.value(1));
    c.address = S(q.value(2));
    c.options = RequestOptions{S(q.value(3)), S(q.value(4)), S(q.value(5))};
    c.tvgId = S(q.value(6));
    c.tvgName = S(q.value(7));
    c.tvgChno = S(q.value(8));
    c.tvgShift = S(q.value(9));
    return c;
}

constexpr const char* kSourceColumns =
    "SELECT id, location, last_read, guide_addresses, user_agent, last_error, tvg_shift FROM sources ";

// Runs a query's work; a failing statement becomes the message the viewer reads.
template <typename Work>
auto Guarded(const char* what, Work&& work)
{
    try {
        return work();
    } catch (const SqlFailure& f) {
        // SQLite says "database or disk is full" (13) for a device with no space left: the
        // viewer reads the system's own words for it, as for any other file.
        const bool full = (f.error.nativeErrorCode().toInt() & 0xFF) == 13;
        throw Exception(std::string("Cannot ") + what + " the viewer's data: " + f.error.text().toStdString() +
                        (full ? std::string(" (") + std::strerror(ENOSPC) + ")" : std::string()));
    }
}

} // namespace

std::vector<SourceRecord> ViewerDatabase::Sources() const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run((std::string(kSourceColumns) + "ORDER BY id").c_str());
        std::vector<SourceRecord> out;
        while (q.next())
            out.push_back(RecordOf(q));
        return out;
    });
}

std::optional<SourceRecord> ViewerDatabase::FindSource(const std::string& location) const
{
    return Guarded("read", [&]() -> std::optional<SourceRecord> {
        QSqlQuery q = db_->Run((std::string(kSourceColumns) + "WHERE location = ?").c_str(), {Q(location)});
        if (q.next())
            return RecordOf(q);
        return std::nullopt;
    });
}

std::optional<SourceRecord> ViewerDatabase::FindSource(std::int64_t id) const
{
    return Guarded("read", [&]() -> std::optional<SourceRecord> {
        QSqlQuery q = db_->Run((std::string(kSourceColumns) + "WHERE id = ?").c_str(), {QVariant::fromValue(id)});
        if (q.next())
            return RecordOf(q);
        return std::nullopt;
    });
}

std::vector<SourceChannel> ViewerDatabase::Channels(std::int64_t source) const
{
    return Guarded("read", [&] {
        QSqlQuery q =
            db_->Run("SELECT category, name, address, user_agent, referrer, origin, tvg_id, tvg_name, "
                     "tvg_chno, tvg_shift, owned, logo, catchup_mode, catchup_days, catchup_source, catchup_correction "
                     "FROM source_channels WHERE source_id = ? ORDER BY position",
                     {QVariant::fromValue(source)});
        std::vector<SourceChannel> out;
        while (q.next()) {
            SourceChannel c = ReadChannelHead(q);
            c.owned = q.value(10).toInt() != 0;
            c.logo = S(q.value(11));
            ReadArchive(q, 12, c);
            out.push_back(std::move(c));
        }
        return out;
    });
}

std::unordered_set<std::string> ViewerDatabase::NamesOfOtherSources(std::int64_t source) const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT name FROM source_channels WHERE source_id <> ?", {QVariant::fromValue(source)});
        std::unordered_set<std::string> out;
        while (q.next())
            out.insert(S(q.value(0)));
        return out;
    });
}

std::int64_t ViewerDatabase::StoreRead(const SourceRecord& source, const std::vector<SourceChannel>& channels,
                                       const std::function<void()>& within)
{
    return Guarded("store", [&] {
        std::int64_t id = 0;
        db_->Write([&] {
            db_->Run("INSERT INTO sources (location) VALUES (?) ON CONFLICT (location) DO NOTHING",
                     {Q(source.location)});
            QSqlQuery found = db_->Run("SELECT id FROM sources WHERE location = ?", {Q(source.location)});
            if (!found.next())
                throw Exception("the source was not stored");
            id = found.value(0).toLongLong();
            found.finish();
            db_->Run("UPDATE sources SET last_read = ?, guide_addresses = ?, user_agent = ?, tvg_shift = ?, "
                     "last_error = '' WHERE id = ?",
                     {QVariant::fromValue(source.lastRead), Q(Joined(source.guideAddresses)), Q(source.userAgent),
                      Q(source.tvgShift), QVariant::fromValue(id)});
            db_->Run("DELETE FROM source_channels WHERE source_id = ?", {QVariant::fromValue(id)});
            QSqlQuery insert(db_->Db());
            insert.prepare(QStringLiteral(
                "INSERT INTO source_channels (source_id, position, category, name, address, user_agent, referrer, "
                "origin, tvg_id, tvg_name, tvg_chno, tvg_shift, owned, logo, catchup_mode, catchup_days, "
                "catchup_source, "
                "catchup_correction) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
            int position = 0;
            for (const auto& c : channels) {
                insert.bindValue(0, QVariant::fromValue(id));
                insert.bindValue(1, position++);
                insert.bindValue(2, Q(c.category));
                insert.bindValue(3, Q(c.name));
                insert.bindValue(4, Q(c.address));
                insert.bindValue(5, Q(c.options.userAgent));
                insert.bindValue(6, Q(c.options.referrer));
                insert.bindValue(7, Q(c.options.origin));
                insert.bindValue(8, Q(c.tvgId));
                insert.bindValue(9, Q(c.tvgName));
                insert.bindValue(10, Q(c.tvgChno));
                insert.bindValue(11, Q(c.tvgShift));
                insert.bindValue(12, c.owned ? 1 : 0);
                insert.bindValue(13, Q(c.logo));
                insert.bindValue(14, Q(c.catchupMode));
                insert.bindValue(15, c.catchupDays);
                insert.bindValue(16, Q(c.catchupSource));
                insert.bindValue(17, c.catchupCorrectionMinutes);
                if (!insert.exec())
                    throw SqlFailure{insert.lastError()};
            }
            if (within)
                within();
        });
        return id;
    });
}

void ViewerDatabase::StoreFailure(std::int64_t source, const std::string& why)
{
    return Guarded("store", [&] {
        db_->Write([&] {
            db_->Run("UPDATE sources SET last_error = ? WHERE id = ?",
                     {Q(why.empty() ? "failed" : why), QVariant::fromValue(source)});
        });
    });
}

void ViewerDatabase::RemoveSource(std::int64_t source, const std::function<void()>& within)
{
    return Guarded("change", [&] {
        db_->Write([&] {
            db_->Run("DELETE FROM source_channels WHERE source_id = ?", {QVariant::fromValue(source)});
            db_->Run("DELETE FROM sources WHERE id = ?", {QVariant::fromValue(source)});
            if (within)
                within();
        });
    });
}

RequestOptions ViewerDatabase::RequestOptionsOf(const std::string& channel) const
{
    return Guarded("read", [&]() -> RequestOptions {
        QSqlQuery q = db_->Run("SELECT user_agent, referrer, origin FROM source_channels "
                               "WHERE name = ? COLLATE NOCASE "
                               "AND (user_agent <> '' OR referrer <> '' OR origin <> '') LIMIT 1",
                               {Q(channel)});
        if (q.next())
            return RequestOptions{S(q.value(0)), S(q.value(1)), S(q.value(2))};
        return {};
    });
}

std::optional<SourceChannel> ViewerDatabase::ArchiveChannel(const std::string& channel) const
{
    return Guarded("read", [&]() -> std::optional<SourceChannel> {
        QSqlQuery q = db_->Run("SELECT c.category, c.name, c.address, c.user_agent, c.referrer, c.origin, c.tvg_id, "
                               "c.tvg_name, c.tvg_chno, CASE WHEN c.tvg_shift <> '' THEN c.tvg_shift ELSE "
                               "s.tvg_shift END, c.catchup_mode, c.catchup_days, c.catchup_source, "
                               "c.catchup_correction FROM source_channels c JOIN sources s ON s.id = c.source_id "
                               "WHERE c.name = ? COLLATE NOCASE AND c.catchup_mode <> '' AND c.catchup_days > 0 "
                               "ORDER BY c.source_id, c.position LIMIT 1",
                               {Q(channel)});
        if (!q.next())
            return std::nullopt;
        SourceChannel c = ReadChannelHead(q);
        ReadArchive(q, 10, c);
        return c;
    });
}

std::vector<ChannelLogo> ViewerDatabase::ChannelLogos() const
{
    return Guarded("read", [&] {
        // The first source to give a channel a logo speaks for it, as for its number.
        QSqlQuery q = db_->Run("SELECT name, logo, user_agent, referrer, origin FROM source_channels "
                               "WHERE logo <> '' ORDER BY source_id, position");
        std::vector<ChannelLogo> out;
        while (q.next())
            out.push_back({S(q.value(0)), S(q.value(1)), RequestOptions{S(q.value(2)), S(q.value(3)), S(q.value(4))}});
        return out;
    });
}

std::vector<std::string> ViewerDatabase::GuideSources() const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT location FROM guide_sources ORDER BY id");
        std::vector<std::string> out;
        while (q.next())
            out.push_back(S(q.value(0)));
        return out;
    });
}

bool ViewerDatabase::AddGuideSource(const std::string& location, std::int64_t when)
{
    return Guarded("store", [&] {
        QSqlQuery q = db_->Run("INSERT INTO guide_sources (location, added) VALUES (?, ?) "
                               "ON CONFLICT (location) DO NOTHING",
                               {Q(location), QVariant::fromValue(when)});
        return q.numRowsAffected() > 0;
    });
}

void ViewerDatabase::RemoveGuideSource(const std::string& location)
{
    Guarded("change", [&] { db_->Run("DELETE FROM guide_sources WHERE location = ?", {Q(location)}); });
}

std::size_t ViewerDatabase::ForgetGuidesOtherThan(const std::vector<std::string>& read)
{
    return Guarded("change", [&] {
        QString sql = QStringLiteral("DELETE FROM programmes WHERE guide <> ''");
        QVariantList values;
        if (!read.empty()) {
            sql += QStringLiteral(" AND guide NOT IN (");
            for (std::size_t i = 0; i < read.size(); ++i) {
                sql += i ? QStringLiteral(", ?") : QStringLiteral("?");
                values << Q(read[i]);
            }
            sql += QLatin1Char(')');
        }
        std::size_t dropped = 0;
        db_->Write([&] {
            QSqlQuery q = db_->Run(sql, values);
            dropped = static_cast<std::size_t>(std::max(0, q.numRowsAffected()));
        });
        return dropped;
    });
}

std::vector<std::pair<std::string, std::string>> ViewerDatabase::GivenChannelNumbers() const
{
    return Guarded("read", [&] {
        QSqlQuery q = db_->Run("SELECT name, tvg_chno FROM source_channels WHERE tvg_chno <> '' "
                               "ORDER BY source_id, position",
                               {});
        std::vector<std::pair<std::string, std::string>> out;
        while (q.next())
            out.emplace_back(S(q.value(0)), S(q.value(1)));
        return out;
    });
}

} // namespace quorvel
