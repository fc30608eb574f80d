#pragma once

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>

namespace quorvel {

class DesktopNotifications;
class GuideWindow;
class Reminders;

// The guide grid as the main window holds it: the grid's window, made when first opened and
// kept (hidden) after it is closed, so that it opens again where it was; and the reminders,
// told on the desktop whether the window is open or not.
class GuideGrid : public QObject {
    Q_OBJECT
public:
    GuideGrid(std::string catalogueFile, QObject* parent = nullptr);
    ~GuideGrid() override;

    // How channel rows look: their numbers and their logos (a side in pixels).
    void SetChannelLook(std::function<int(const QString&)> numberOf, std::function<QImage(const QString&, int)> logoOf);
    // How many days back a channel's archive reaches (0 for none): past programmes within them
    // are marked and play from the archive. It may read the database: the grid keeps each
    // channel's answer until the guide or the channels are read again.
    void SetArchiveDays(std::function<int(const QString&)> archiveDays);
    // Shows the window in front, the channels and favourites read again.
    void Open();
    // The grid's window; nullptr until first opened.
    GuideWindow* Window() const;
    void SetPlaying(const QString& channel);
    // The guide was read again.
    void GuideChanged();
    Reminders& Reminded() { return *reminders_; }
    // The channels' logos or numbers changed: the rows in sight are drawn again.
    void LooksChanged();
    // The playlists were read again: the channels' archives are asked anew.
    void SourcesChanged();

signals:
    void playRequested(const QString& category, const QString& channel);
    // As the window asks them (GuideWindow): a past programme from the archive, a programme to
    // be recorded. Nothing happens where nothing is connected.
    void archiveRequested(const QString& channel, std::int64_t start, std::int64_t stop);
    void recordRequested(const QString& channel, std::int64_t start, std::int64_t stop, const QString& title);

private:
    std::string catalogue_;
    std::function<int(const QString&)> numberOf_;
    std::function<QImage(const QString&, int)> logoOf_;
    std::function<int(const QString&)> archiveDays_;
    QString playing_;
    QPointer<GuideWindow> window_;
    Reminders* reminders_;
    DesktopNotifications* notifications_;
};

} // namespace quorvel
