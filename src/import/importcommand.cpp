#include "import/importcommand.h"

#include "import/catalogueimport.h"
#include "catalogue/channelcatalogue.h"
#include "base/exception.h"
#include "import/m3uplaylist.h"
#include "import/playlistsource.h"

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

} // namespace

ImportCommand::ImportCommand(DataFolders folders, std::ostream& out, std::ostream& err, bool terminal)
    : folders_(std::move(folders)), out_(out), err_(err), terminal_(terminal)
{
}

void ImportCommand::Usage(std::ostream& to) const
{
    to << "Usage: quorvel-import PLAYLIST [--catalogue FILE] [--dry-run]\n"
          "\n"
          "Adds the channels of an M3U or M3U8 playlist to the channel catalogue of Quorvel Online TV.\n"
          "PLAYLIST is a playlist file or an http:// or https:// address, as providers hand them out.\n"
          "\n"
          "Each group of the playlist becomes a category of the channel tree (entries without a group go\n"
          "to \"Undefined\"), each entry a channel under it, in playlist order. Categories and channels\n"
          "already in the catalogue stay as they are; a channel already there is not added twice.\n"
          "Entries whose address the player does not open are skipped and counted.\n"
          "\n"
          "  --catalogue FILE  the catalogue to change (default: "
       << folders_.dataDir << ChannelCatalogue::FileName
       << ")\n"
          "  --dry-run         show what the import would do, change nothing\n"
          "  --help            show this text\n"
          "\n"
          "The catalogue is replaced in one step: an interrupted import leaves it as it was, and a\n"
          "catalogue that cannot be read is never replaced. The player shows new channels when it\n"
          "next starts.\n";
}

int ImportCommand::Run(const QStringList& arguments)
{
    QString playlist;
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
        } else if (playlist.isNull()) {
            playlist = a;
        } else {
            err_ << "quorvel-import: one playlist at a time (" << a.toStdString() << " is one too many)\n";
            return 2;
        }
    }
    if (playlist.isEmpty()) {
        err_ << "quorvel-import: no playlist given\n";
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
        return Import(playlist, catalogue, dryRun);
    } catch (const std::exception& e) {
        EndProgress();
        err_ << "quorvel-import: " << e.what() << "\n";
        return 1;
    }
}

int ImportCommand::Import(const QString& playlist, const std::string& catalogue, bool dryRun)
{
    // The catalogue first: one that cannot be read stops the import before anything is fetched.
    CatalogueImport import(catalogue);

    PlaylistSource source(playlist);
    PlaylistSource::Options options;
    if (source.IsRemote())
        options.progress = [this](qint64 received, qint64) { Progress("Downloading the playlist: " + Megabytes(received)); };
    const QByteArray bytes = source.Read(options);
    EndProgress();
    const std::string shown = playlist.toStdString();
    if (bytes.trimmed().isEmpty())
        throw Exception("Cannot import " + shown + ": it is empty");

    std::unique_ptr<M3uPlaylist> parsed;
    try {
        parsed = std::make_unique<M3uPlaylist>(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                                               source.Base());
    } catch (const Exception& e) {
        throw Exception("Cannot import " + shown + ": " + e.Message());
    }
    if (parsed->Entries().empty() && parsed->WithoutAddress() == 0)
        throw Exception("Cannot import " + shown + ": it holds no channels");

    import.Add(*parsed, [this](std::size_t done, std::size_t total) {
        if (total >= 20000)
            Progress("Importing: " + Count(static_cast<long long>(done)) + " of " +
                     Count(static_cast<long long>(total)) + " entries");
    });
    EndProgress();
    if (!dryRun && import.HasChanges())
        import.Write();

    const ImportReport& r = import.Report();
    out_ << (dryRun ? "Dry run, nothing written: " : "") << "playlist " << shown << " ("
         << Plural(static_cast<long long>(parsed->Entries().size()) + parsed->WithoutAddress(), "entry", "entries")
         << "), catalogue " << catalogue << "\n";
    for (const auto& c : r.categories)
        if (c.added + c.updated + c.present + c.Skipped() > 0)
            out_ << CategoryLine(c, dryRun);
    const int touched = static_cast<int>(std::count_if(r.categories.begin(), r.categories.end(), [](const auto& c) {
        return c.added + c.updated + c.present > 0;
    }));
    out_ << (dryRun ? "Would add " : "Added ") << Plural(r.Added(), "channel", "channels") << " in "
         << Plural(touched, "category", "categories") << " (" << Count(r.NewCategories()) << " of them new); "
         << Count(r.Updated()) << (dryRun ? " to update" : " updated") << " with a new address, "
         << Count(r.Present()) << " already there.\n";
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
        out_ << ".\n";
    }
    if (r.Added() + r.Updated() + r.Present() == 0)
        throw Exception("Nothing imported from " + shown + ": every entry was skipped");
    if (!dryRun && import.HasChanges())
        out_ << "The player shows the new channels when it next starts.\n";
    return 0;
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
