#include "import/importcommand.h"

#include "base/exception.h"
#include "catalogue/channelcatalogue.h"
#include "import/catalogueimport.h"
#include "import/m3uplaylist.h"
#include "import/playlistsource.h"
#include "import/playlistsources.h"
#include "provider/keyring.h"

#include <QDateTime>
#include <QFileInfo>

#include <cstdio>

namespace quorvel {
namespace {

std::string Count(long long n)
{
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

std::string Plural(long long n, const std::string& one, const std::string& many)
{
    return Count(n) + " " + (n == 1 ? one : many);
}

std::string Megabytes(qint64 bytes)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024.0));
    return buf;
}

std::string CategoryLine(const CategoryReport& c, bool dryRun)
{
    std::string parts;
    auto add = [&parts](int n, const std::string& text) {
        if (n == 0)
            return;
        if (!parts.empty())
            parts += ", ";
        parts += Count(n) + " " + text;
    };
    add(c.added, dryRun ? "to add" : "added");
    add(c.updated, dryRun ? "to update (new address)" : "updated (new address)");
    add(c.present, "already there");
    add(c.refused, "skipped (address the player does not open)");
    add(c.tooLong, "skipped (address too long)");
    add(c.duplicates, "skipped (twice in the playlist)");
    return "  " + c.name + (c.isNew ? " (new category)" : "") + ": " + parts + "\n";
}

// A remembered account's password from the desktop keyring, where one runs.
QString KeyringPassword(const ProviderLogin& login)
{
    const Keyring::Answer answer = Keyring::Read(login.Location());
    return answer.outcome == Keyring::Outcome::Done ? answer.password : QString();
}

} // namespace

ImportCommand::ImportCommand(DataFolders folders, std::ostream& out, std::ostream& err, bool terminal)
    : folders_(std::move(folders)), out_(out), err_(err), terminal_(terminal)
{
}

void ImportCommand::Usage(std::ostream& to) const
{
    to << "Usage: quorvel-import PLAYLIST [--catalogue FILE] [--dry-run] [--verbose]\n"
          "       quorvel-import list [--catalogue FILE]\n"
          "       quorvel-import refresh [SOURCE] [--catalogue FILE] [--dry-run] [--verbose]\n"
          "       quorvel-import remove SOURCE [--catalogue FILE]\n"
          "       quorvel-import provider SERVER USER [--keep-in-database] [--catalogue FILE] [--dry-run]\n"
          "\n"
          "Adds the channels of an M3U or M3U8 playlist to the channel catalogue of Quorvel Online TV.\n"
          "PLAYLIST is a playlist file or an http:// or https:// address, as providers hand them out.\n"
          "\n"
          "Each group of the playlist becomes a category of the channel tree (entries without a group go\n"
          "to \"Undefined\"), each entry a channel under it, in playlist order. Categories and channels\n"
          "already in the catalogue stay as they are; a channel already there is not added twice.\n"
          "Entries whose address the player does not open are skipped and counted. Request options a\n"
          "channel's line carries (user agent, referrer, origin) are kept and sent when it plays.\n"
          "\n"
          "The playlist is remembered as a source, as the player's \"Add playlist or guide...\" does:\n"
          "  list              shows the remembered sources, numbered, with when each was last read,\n"
          "                    and the programme guides they name or the player added\n"
          "  refresh [SOURCE]  reads every source again (or the one given): its channels become what it\n"
          "                    now lists (new ones added, changed addresses updated, channels it no\n"
          "                    longer lists removed); channels added by hand or by another source stay.\n"
          "                    A source that cannot be read keeps its channels as they were.\n"
          "  remove SOURCE     forgets the source and removes its channels\n"
          "  provider SERVER USER  adds a provider account (a server, a user name and a password, the\n"
          "                    Xtream Codes login) with its live categories and channels; the password is\n"
          "                    read from standard input, else taken from the desktop keyring, and kept in\n"
          "                    the keyring. A playlist address of such a panel (get.php?username=...) is\n"
          "                    added as the account too.\n"
          "  --keep-in-database  where no keyring runs, keep the password in viewer.db (readable by you\n"
          "                    alone); else the player asks for it at each start\n"
          "SOURCE is a number that \"list\" shows, or the source's file or address. (A playlist file named\n"
          "like one of these words is given with its folder, as ./list.)\n"
          "\n"
          "  --catalogue FILE  the catalogue to change (default: "
       << folders_.dataDir << ChannelCatalogue::FileName
       << ")\n"
          "                    the sources are kept in viewer.db in the same folder\n"
          "  --dry-run         show what the import would do, change nothing\n"
          "  --verbose, -v     list every entry skipped: its line, its text and why\n"
          "  --help            show this text\n"
          "\n"
          "The catalogue and the remembered sources change together: an import, refresh or removal\n"
          "cut short (a crash, a kill, a power cut) leaves both as they were, or is completed or\n"
          "undone by the next start of the player or of this command, which says so. A catalogue\n"
          "that cannot be read is never replaced. The player shows new channels when it next starts.\n"
          "Exit status: 0 done, 1 failed (for refresh: any source failed), 2 wrong use.\n";
}

int ImportCommand::Run(const QStringList& arguments)
{
    std::vector<QString> words;
    std::string catalogue;
    bool dryRun = false;
    bool options = true;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (options && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
            Usage(out_);
            return 0;
        }
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && a == QLatin1String("--dry-run")) {
            dryRun = true;
        } else if (options && a == QLatin1String("--keep-in-database")) {
            keepInDatabase_ = true;
        } else if (options && (a == QLatin1String("--verbose") || a == QLatin1String("-v"))) {
            verbose_ = true;
        } else if (options && a == QLatin1String("--catalogue")) {
            if (i + 1 >= arguments.size() || arguments[i + 1].isEmpty()) {
                err_ << "quorvel-import: --catalogue needs a file name\n";
                Usage(err_);
                return 2;
            }
            catalogue = arguments[++i].toStdString();
        } else if (options && a.startsWith(QLatin1String("--catalogue="))) {
            catalogue = a.mid(12).toStdString();
            if (catalogue.empty()) {
                err_ << "quorvel-import: --catalogue needs a file name\n";
                return 2;
            }
        } else if (options && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            err_ << "quorvel-import: unknown option " << a.toStdString() << "\n";
            Usage(err_);
            return 2;
        } else {
            words.push_back(a);
        }
    }
    enum class Verb { Add, List, Refresh, Remove, Provider } verb = Verb::Add;
    if (!words.empty()) {
        if (words[0] == QLatin1String("list"))
            verb = Verb::List;
        else if (words[0] == QLatin1String("refresh"))
            verb = Verb::Refresh;
        else if (words[0] == QLatin1String("remove"))
            verb = Verb::Remove;
        else if (words[0] == QLatin1String("provider"))
            verb = Verb::Provider;
        else if (words[0] == QLatin1String("add"))
            verb = Verb::Add;
        if (verb != Verb::Add || words[0] == QLatin1String("add"))
            words.erase(words.begin());
    }
    const std::size_t most = verb == Verb::List ? 0 : verb == Verb::Provider ? 2 : 1;
    if (verb == Verb::Provider && (words.size() != 2 || words[0].isEmpty() || words[1].isEmpty())) {
        err_ << "quorvel-import: provider needs the server and the user name (the password comes from standard "
                "input or the keyring, never from the command line)\n";
        return 2;
    }
    if (words.size() > most) {
        err_ << "quorvel-import: " << (verb == Verb::Add ? "one playlist at a time" : "one source at a time") << " ("
             << words[most].toStdString() << " is one too many)\n";
        return 2;
    }
    if ((verb == Verb::Add || verb == Verb::Remove) && (words.empty() || words[0].isEmpty())) {
        err_ << "quorvel-import: " << (verb == Verb::Add ? "no playlist given" : "no source given") << "\n";
        Usage(err_);
        return 2;
    }
    try {
        // The player's own catalogue, which an installed player's user gets a copy of first,
        // as the player gives it on its first start; a dry run reads the copy's source.
        if (catalogue.empty()) {
            catalogue = folders_.dataDir + ChannelCatalogue::FileName;
            if (!dryRun)
                folders_.Seeded(ChannelCatalogue::FileName);
            else if (folders_.Installed() && !QFileInfo::exists(QString::fromStdString(catalogue)))
                catalogue = folders_.pagesDir + ChannelCatalogue::FileName;
        }
        PlaylistSources sources(catalogue);
        sources.SetPasswordFinder(KeyringPassword);
        // A change cut short before is completed or undone first, and said once.
        if (!dryRun) {
            sources.Repair();
            Repairs(sources);
        }
        switch (verb) {
        case Verb::Add:
            return Import(sources, words[0], dryRun);
        case Verb::List:
            return List(sources);
        case Verb::Refresh:
            return Refresh(sources, words.empty() ? QString() : words[0], dryRun);
        case Verb::Remove:
            return Remove(sources, words[0], dryRun);
        case Verb::Provider:
            return Provider(sources, words[0], words[1], dryRun);
        }
        return 2;
    } catch (const std::exception& e) {
        EndProgress();
        err_ << "quorvel-import: " << e.what() << "\n";
        return 1;
    }
}

int ImportCommand::Import(PlaylistSources& sources, const QString& playlist, bool dryRun, const ProviderLogin* account)
{
    const auto progress = [this](const PlaylistSources::Progress& p) {
        if (p.stage == PlaylistSources::Progress::Stage::Downloading)
            Progress("Downloading the playlist: " + Megabytes(p.done));
        else if (p.stage == PlaylistSources::Progress::Stage::Importing && p.total >= 20000)
            Progress("Importing: " + Count(p.done) + " of " + Count(p.total) + " entries");
    };
    const SourceOutcome outcome =
        account ? sources.ReadAccount(*account, progress, dryRun) : sources.Read(playlist, progress, dryRun);
    EndProgress();
    Notice(sources);
    if (outcome.account && !dryRun)
        KeepPassword(sources, outcome);
    const ImportReport& r = outcome.report;
    out_ << (dryRun ? "Dry run, nothing written: " : "") << "playlist " << outcome.location << " ("
         << Plural(outcome.entries, "entry", "entries") << "), catalogue " << sources.CatalogueFile() << "\n";
    for (const auto& c : r.categories)
        if (c.added + c.updated + c.present + c.Skipped() > 0)
            out_ << CategoryLine(c, dryRun);
    const int touched = static_cast<int>(std::count_if(
        r.categories.begin(), r.categories.end(), [](const auto& c) { return c.added + c.updated + c.present > 0; }));
    Repairs(sources);
    out_ << (dryRun ? "Would add " : "Added ") << Plural(r.Added(), "channel", "channels") << " in "
         << Plural(touched, "category", "categories") << " (" << Count(r.NewCategories()) << " of them new); "
         << Count(r.Updated()) << (dryRun ? " to update" : " updated") << " with a new address, " << Count(r.Present())
         << " already there.\n";
    for (const std::string& line : outcome.catchup.Lines())
        out_ << line << "\n";
    if (r.removed > 0 || r.moved > 0)
        out_ << (dryRun ? "Would remove " : "Removed ") << Plural(r.removed, "channel", "channels")
             << " the playlist no longer lists (and " << Plural(r.removedCategories, "category", "categories")
             << " left empty); " << Count(r.moved) << (dryRun ? " to move" : " moved") << " to another category.\n";
    if (r.Skipped() > 0) {
        out_ << "Skipped " << Plural(r.Skipped(), "entry", "entries") << ":";
        std::string sep = " ";
        auto part = [&](int n, const std::string& text) {
            if (n > 0) {
                out_ << sep << Count(n) << " " << text;
                sep = ", ";
            }
        };
        std::string examples;
        for (const auto& e : r.refusedExamples)
            examples += (examples.empty() ? "" : ", ") + ("\"" + e.substr(0, 60) + (e.size() > 60 ? "...\"" : "\""));
        part(r.Refused(), "with an address the player does not open" + (examples.empty() ? "" : " (" + examples + ")"));
        part(r.TooLong(), "with an address too long for the catalogue");
        part(r.withoutAddress, "without an address");
        part(r.Duplicates(), "listed twice");
        out_ << (verbose_ ? ".\n" : " (--verbose lists each).\n");
        if (verbose_) {
            for (const auto& e : r.skipped)
                out_ << "  line " << e.line << ": \"" << e.text << "\" (" << SkippedEntry::Reason(e.why) << ")\n";
            if (static_cast<std::size_t>(r.Skipped()) > r.skipped.size())
                out_ << "  and " << Count(r.Skipped() - static_cast<long long>(r.skipped.size())) << " more\n";
        }
    }
    if (outcome.account)
        AccountLines(outcome);
    if (!dryRun && outcome.written)
        out_ << "The player shows the new channels when it next starts.\n";
    return 0;
}

int ImportCommand::List(PlaylistSources& sources)
{
    const auto list = sources.List();
    const auto guides = sources.Database().GuideSources();
    Notice(sources);
    if (list.empty() && guides.empty()) {
        out_ << "No playlist sources are remembered for " << sources.CatalogueFile() << ".\n";
        return 0;
    }
    int n = 0;
    for (const auto& s : list) {
        const auto channels = sources.Database().Channels(s.id).size();
        out_ << ++n << "  " << s.location << "\n   "
             << (s.lastRead > 0
                     ? "last read " + QDateTime::fromSecsSinceEpoch(s.lastRead).toString(Qt::ISODate).toStdString()
                     : std::string("never read"))
             << ", " << Plural(static_cast<long long>(channels), "channel", "channels");
        if (!s.lastError.empty())
            out_ << "; the last refresh failed: " << s.lastError;
        out_ << "\n";
        for (const auto& guide : s.guideAddresses)
            out_ << "   programme guide " << guide << "\n";
    }
    // Guides added in the player are read beside those the playlists name.
    for (const auto& guide : guides)
        out_ << "   programme guide " << guide << " (added in the player)\n";
    return 0;
}

int ImportCommand::Refresh(PlaylistSources& sources, const QString& which, bool dryRun)
{
    std::vector<SourceRecord> list;
    if (which.isEmpty()) {
        list = sources.List();
    } else if (auto one = sources.Find(which)) {
        list.push_back(*one);
    } else {
        throw Exception("no remembered source is " + which.toStdString() + " (see quorvel-import list)");
    }
    if (list.empty()) {
        Notice(sources);
        out_ << "No playlist sources to refresh.\n";
        return 0;
    }
    int failed = 0;
    for (const auto& s : list) {
        try {
            Import(sources, QString::fromStdString(s.location), dryRun);
        } catch (const std::exception& e) {
            EndProgress();
            err_ << "quorvel-import: " << e.what() << "; its channels were left as they were\n";
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

int ImportCommand::Remove(PlaylistSources& sources, const QString& which, bool dryRun)
{
    const auto source = sources.Find(which);
    if (!source)
        throw Exception("no remembered source is " + which.toStdString() + " (see quorvel-import list)");
    if (dryRun) {
        out_ << "Dry run, nothing written: would remove " << source->location << " and "
             << Plural(static_cast<long long>(sources.Database().Channels(source->id).size()), "channel", "channels")
             << " it listed (those another source lists too stay).\n";
        return 0;
    }
    const SourceOutcome outcome = sources.Remove(*source);
    // A provider account's password goes with it.
    if (const QString location = QString::fromStdString(source->location); ProviderLogin::FromLocation(location))
        Keyring::Remove(location);
    Repairs(sources);
    out_ << "Removed " << outcome.location << " and " << Plural(outcome.report.removed, "channel", "channels") << " ("
         << Plural(outcome.report.removedCategories, "category", "categories") << " left empty went too).\n";
    return 0;
}

void ImportCommand::Notice(PlaylistSources& sources)
{
    if (noticeShown_ || !sources.DatabaseOpen())
        return;
    noticeShown_ = true;
    const std::string& notice = sources.Database().Notice();
    if (!notice.empty())
        err_ << "quorvel-import: " << notice << "\n";
}

void ImportCommand::Repairs(PlaylistSources& sources)
{
    for (const auto& said : sources.TakeRepairs())
        err_ << "quorvel-import: " << said << "\n";
}

void ImportCommand::Progress(const std::string& line)
{
    if (!terminal_)
        return;
    const long long now = QDateTime::currentMSecsSinceEpoch();
    if (now - lastProgressMs_ < 100)
        return;
    lastProgressMs_ = now;
    err_ << "\r\033[K" << line << std::flush;
    progressShown_ = true;
}

void ImportCommand::EndProgress()
{
    if (progressShown_)
        err_ << "\r\033[K" << std::flush;
    progressShown_ = false;
}

} // namespace quorvel
