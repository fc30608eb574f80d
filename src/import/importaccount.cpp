// quorvel-import's provider accounts: the password read without showing it and kept in the
// keyring, or where the viewer said when none runs.
#include "base/exception.h"
#include "import/importcommand.h"
#include "import/playlistsources.h"
#include "provider/accountmessages.h"
#include "provider/keyring.h"
#include "userdata/provideraccountstore.h"

#include <QDateTime>

#include <string>
#include <termios.h>
#include <unistd.h>

namespace quorvel {

QString ImportCommand::ReadPassword()
{
    if (!in_)
        return {};
    // Typed at a terminal, the password is not shown as it is typed.
    termios saved{};
    const bool hide = inputTerminal_ && ::tcgetattr(STDIN_FILENO, &saved) == 0;
    if (inputTerminal_)
        err_ << "Password (Enter alone: the one in the keyring): " << std::flush;
    if (hide) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(*in_, line);
    if (hide) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        err_ << "\n";
    }
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n'))
        line.pop_back();
    return QString::fromStdString(line);
}

int ImportCommand::Provider(PlaylistSources& sources, const QString& server, const QString& user, bool dryRun)
{
    ProviderLogin login(server, user, QString());
    if (!login.IsValid())
        throw Exception("the server " + server.toStdString() + " is no http:// or https:// address or host name");
    QString password = ReadPassword();
    if (password.isEmpty()) {
        const Keyring::Answer kept = Keyring::Read(login.Location());
        if (kept.outcome != Keyring::Outcome::Done)
            throw Exception("no password given on standard input, and none is in the keyring for " +
                            user.toStdString());
        password = kept.password;
    }
    login.SetPassword(password);
    return Import(sources, login.Location(), dryRun, &login);
}

void ImportCommand::KeepPassword(PlaylistSources& sources, const SourceOutcome& outcome)
{
    const ProviderLogin& login = *outcome.account;
    const Keyring::Answer written = Keyring::Write(login.Location(), login.Password());
    ProviderAccountStore::Keep keep = ProviderAccountStore::Keep::Keyring;
    if (written.outcome != Keyring::Outcome::Done) {
        keep = keepInDatabase_ ? ProviderAccountStore::Keep::Database : ProviderAccountStore::Keep::Ask;
        err_ << "quorvel-import: the password could not be kept in the desktop keyring ("
             << (written.outcome == Keyring::Outcome::NoKeyring ? std::string("none runs") : written.why.toStdString())
             << "); "
             << (keepInDatabase_ ? "it is kept in viewer.db, readable by you alone\n"
                                 : "the player asks for it at its start (--keep-in-database keeps it in viewer.db)\n");
    }
    ProviderAccountStore::StoreKeep(sources.Database(), outcome.sourceId, keep,
                                    keep == ProviderAccountStore::Keep::Database ? login.Password().toStdString()
                                                                                 : std::string());
}

void ImportCommand::AccountLines(const SourceOutcome& outcome)
{
    const AccountInfo& info = outcome.accountInfo;
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    out_ << "Account " << outcome.account->User().toStdString() << ": "
         << (info.status.isEmpty() ? std::string("active") : info.status.toLower().toStdString());
    if (info.expiresAt > 0)
        out_ << ", until " << AccountMessages::Date(info.expiresAt, QTimeZone::systemTimeZone()).toStdString();
    if (info.maxConnections > 0)
        out_ << ", " << info.maxConnections << (info.maxConnections == 1 ? " connection" : " connections")
             << " allowed (" << info.activeConnections << " open)";
    out_ << ".\n";
    if (AccountMessages::NoticeDay(info, now, 0) != 0)
        out_ << AccountMessages::Notice(info, now).toStdString() << "\n";
}

} // namespace quorvel
