#include "import/accountplaylist.h"

#include "base/exception.h"
#include "provider/accountmessages.h"
#include "provider/livelists.h"
#include "provider/panelclient.h"

#include <QDateTime>
#include <QHash>

namespace quorvel {
namespace {

// A value inside an attribute's quotes, or a title: one line, and no quote to end it early.
QByteArray Clean(const QString& text, bool attribute)
{
    QString s = text;
    for (QChar& c : s)
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QLatin1Char('\t') ||
            (attribute && c == QLatin1Char('"')))
            c = attribute && c == QLatin1Char('"') ? QLatin1Char('\'') : QLatin1Char(' ');
    return s.trimmed().toUtf8();
}

PanelClient::Options ClientOptions(const std::atomic<bool>* cancel)
{
    PanelClient::Options options;
    options.cancel = cancel;
    return options;
}

} // namespace

bool AccountPlaylist::AnswersAsPanel(const ProviderLogin& login, const std::atomic<bool>* cancel)
{
    try {
        AccountInfo::Read(PanelClient(login, ClientOptions(cancel)).Ask(QString(), "the account"));
        return true;
    } catch (const Exception&) {
        return false;
    }
}

AccountPlaylist::AccountPlaylist(const ProviderLogin& login, const std::atomic<bool>* cancel)
{
    PanelClient client(login, ClientOptions(cancel));
    info_ = AccountInfo::Read(client.Ask(QString(), "the account"));
    if (const QString problem = AccountMessages::Problem(info_, QDateTime::currentSecsSinceEpoch()); !problem.isEmpty())
        throw Exception(problem.toStdString());
    const auto categories =
        ReadLiveCategories(client.Ask(QStringLiteral("get_live_categories"), "the live categories"));
    const auto streams =
        ReadLiveStreams(client.Ask(QStringLiteral("get_live_streams"), "the live channels"), &skipped_);
    QHash<QString, QString> categoryNames;
    for (const auto& c : categories)
        categoryNames.insert(c.id, c.name);
    const QString extension = info_.LiveExtension();
    bytes_.reserve(static_cast<qsizetype>(streams.size()) * 200 + 16);
    bytes_ += "#EXTM3U\n";
    for (const auto& s : streams) {
        bytes_ += "#EXTINF:-1";
        if (!s.epgId.isEmpty())
            bytes_ += " tvg-id=\"" + Clean(s.epgId, true) + '"';
        if (!s.icon.isEmpty())
            bytes_ += " tvg-logo=\"" + Clean(s.icon, true) + '"';
        if (s.number > 0)
            bytes_ += " tvg-chno=\"" + QByteArray::number(s.number) + '"';
        bytes_ += " group-title=\"" + Clean(categoryNames.value(s.categoryId), true) + "\",";
        bytes_ += Clean(s.name, false) + '\n';
        bytes_ += login.KeptLiveAddress(s.streamId, extension).toUtf8() + '\n';
    }
}

} // namespace quorvel
