#pragma once

#include "app/guidelistmodel.h"

#include <QWidget>

#include <functional>

class QFrame;
class QLabel;
class QListWidget;
class QTextBrowser;
class QTimer;

namespace quorvel {

// The guide list of the side bar: the chosen channel's programmes today and tomorrow under a
// heading each, the one on now marked and chosen at first, and under the list the chosen
// programme told in full (sub-title, start and stop, category, description). It reads the
// guide again when the programme on now ends, when the day turns and when told the guide
// changed. Ctrl+C copies the chosen programme's line. The arrow keys move from programme to
// programme over the days' headings; Enter (or a double click) asks to play the chosen one, and
// what comes back of that, if anything, shows under the list.
class GuideList : public QWidget {
    Q_OBJECT
public:
    // The channel's programmes on at any time in [from, to), in start order.
    using Lookup = std::function<std::vector<Programme>(const QString& channel, std::int64_t from, std::int64_t to)>;

    // How many days back the channel's archive reaches; 0 for none.
    using ArchiveDays = std::function<int(const QString& channel)>;
    // Plays the channel's programme; gives what the viewer should read instead, if anything.
    using Play = std::function<QString(const QString& channel, const Programme& programme)>;

    GuideList(QWidget* parent, Lookup lookup);
    void SetArchive(ArchiveDays days, Play play);

    void SetChannel(const QString& channel);
    // Reads the channel's programmes again, keeping the one chosen when it is still listed.
    void Reload();

    const GuideListModel& Model() const { return model_; }
    QListWidget* List() const { return list_; }
    // The chosen programme's line as Ctrl+C copies it; empty when none is chosen.
    QString ChosenLine() const;
    QString Details() const;
    // What the last Enter left to read under the list; empty when nothing.
    QString Note() const;
    // Enter on the chosen programme.
    void PlayChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Fill(std::int64_t keepStart);
    void ShowDetails();
    void CopyChosen();
    const GuideListModel::Row* Chosen() const;

    Lookup lookup_;
    ArchiveDays archiveDays_;
    Play play_;
    GuideListModel model_;
    QLabel* title_;
    QLabel* message_;
    QListWidget* list_;
    QFrame* rule_;
    QTextBrowser* details_;
    QLabel* note_;
    QTimer* changes_;
};

} // namespace quorvel
