#include "app/recordingsettings.h"

#include "playback/playersession.h"
#include "playback/streamrecorder.h"
#include "playback/timeshift.h"
#include "player/mediaplayer.h"

#include <QDir>
#include <QString>

#include <exception>

namespace quorvel {
namespace {

// The number under name when it is one within [low, high], else fallback.
qint64 Bounded(const SettingsStore::Values& values, const char* name, qint64 low, qint64 high, qint64 fallback)
{
    const auto found = values.find(name);
    if (found == values.end())
        return fallback;
    bool ok = false;
    const qint64 value = QString::fromStdString(found->second).trimmed().toLongLong(&ok);
    return ok && value >= low && value <= high ? value : fallback;
}

} // namespace

void ApplyRecordingSettings(MediaPlayer& player, const SettingsStore::Values& values)
{
    TimeShiftLimits limits;
    limits.seconds = static_cast<int>(Bounded(values, "timeshift.minutes", 1, 24 * 60, 30) * 60);
    limits.bytes = Bounded(values, "timeshift.megabytes", 64, 1024 * 1024, 2048) * 1024 * 1024;
    player.Session().SetTimeShiftLimits(limits);
    const auto folder = values.find("recordings.folder");
    const QString named = folder == values.end() ? QString() : QString::fromStdString(folder->second).trimmed();
    // Only a whole path: a relative one would depend on where the program was started.
    player.Session().Recorder().SetFolder(QDir::isAbsolutePath(named) ? named : QString());
}

void ApplyRecordingSettings(MediaPlayer& player, const std::string& catalogueFile)
{
    SettingsStore::Values values;
    try {
        values = SettingsStore(catalogueFile).Read();
    } catch (const std::exception&) {
        // The settings' own reader tells the viewer; the player goes on with its defaults.
    }
    ApplyRecordingSettings(player, values);
}

} // namespace quorvel
