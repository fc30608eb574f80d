#pragma once

#include "guidegrid/gridcache.h"
#include "guidegrid/gridchannels.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace quorvel {

class FavouritesStore;
class GuideGridView;
class GuideStore;
class ProgrammeDetails;
class Reminders;
class ViewerDatabase;

// The guide as a grid, a window of its own beside the player: a category chooser, a find line,
// a day chooser and "Now" over the grid, the selected programme's details under it. Enter or a
// double click on a programme on now asks for its channel to play; on a past one, for it from
// the archive (archiveRequested, which the archive connects). The window's size and place are
// kept with the viewer's settings.
class GuideWindow : public QWidget {
    Q_OBJECT
public:
    explicit GuideWindow(std::string catalogueFile, QWidget* parent = nullptr);
    ~GuideWindow() override;

    GuideGridView& View() { return *view_; }
    const GridChannels& Channels() const { return channels_; }
    void SetNumbers(std::function<int(const QString&)> numberOf);
    void SetLogos(std::function<QImage(const QString&, int)> logoOf);
    void SetPlaying(const QString& channel);
    // How many days back a channel's archive reaches: its past programmes are marked and Watch
    // plays them.
    void SetArchiveDays(std::function<int(const QString&)> archiveDays);
    // Where reminders are kept and told; marks them in the grid, and Enter on a programme to come
    // sets or takes away its reminder.
    void SetReminders(Reminders* reminders);
    // Reads the channels, their archives and favourites again, keeping the chosen category and
    // find text.
    void Reload();
    // The guide was read again: programmes in sight are read anew.
    void GuideChanged();
    // Chooses rows as the category chooser does (GridChannels::kAll, kFavourites, a category).
    void Choose(int choice);
    // Shows the day (0 today, 1 tomorrow, -1 yesterday) at the time of day it is now.
    void ShowDay(int fromToday);
    // Enter on the selection: play, from the archive, or a reminder.
    void Activate();
    // The selected programme to come gets a reminder, or loses it.
    void ToggleReminder();
    // Ctrl+R: the selected programme to be recorded.
    void Record();

signals:
    // The channel to play live, under its catalogue category.
    void playRequested(const QString& category, const QString& channel);
    // A past programme of the channel to play from the archive. Nothing happens where nothing
    // is connected.
    void archiveRequested(const QString& channel, std::int64_t start, std::int64_t stop);
    // Ctrl+R or Record on a programme: to be marked for recording. The Record button is offered
    // only once something is connected.
    void recordRequested(const QString& channel, std::int64_t start, std::int64_t stop, const QString& title);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // again: the guide changed since it was last read.
    void ReadExtent(bool again = false);
    void ApplyExtent(std::int64_t begin, std::int64_t end);
    void FillDays();
    void FollowDay(std::int64_t viewStart);
    void ShowSelection();
    void KeepGeometry();
    void ApplyFilter();

    std::string catalogue_;
    std::unique_ptr<ViewerDatabase> db_;
    std::unique_ptr<GuideStore> store_;
    GridChannels channels_;
    GridCache cache_;
    QComboBox* category_;
    QLineEdit* find_;
    QComboBox* day_;
    QPushButton* now_;
    GuideGridView* view_;
    ProgrammeDetails* details_;
    QTimer* tick_;
    QTimer* keep_;
    Reminders* reminders_ = nullptr;
    std::int64_t firstDay_ = 0; // the day chooser's first day, at its start
};

} // namespace quorvel
