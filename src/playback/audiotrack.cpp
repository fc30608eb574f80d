#include "playback/audiotrack.h"

#include <QCoreApplication>
#include <QLocale>

namespace quorvel {

namespace {

QString LanguageName(const QString& code)
{
    if (code.isEmpty())
        return QString();
    // Streams tag two- and three-letter codes alike; an unknown one reads as it is written.
    const QLocale::Language language = QLocale::codeToLanguage(code, QLocale::AnyLanguageCode);
    if (language == QLocale::AnyLanguage || language == QLocale::C)
        return code;
    return QLocale::languageToString(language);
}

} // namespace

QString AudioTrackLabel(const AudioTrack& track)
{
    const QString language = LanguageName(track.language);
    if (!language.isEmpty() && !track.title.isEmpty() && track.title.compare(language, Qt::CaseInsensitive) != 0)
        return QStringLiteral("%1 — %2").arg(language, track.title);
    if (!language.isEmpty())
        return language;
    if (!track.title.isEmpty())
        return track.title;
    return QCoreApplication::translate("quorvel::AudioTrack", "Track %1").arg(track.id);
}

} // namespace quorvel
