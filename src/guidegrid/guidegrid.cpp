#include "guidegrid/guidegrid.h"

#include "guidegrid/desktopnotifications.h"
#include "guidegrid/guidegridview.h"
#include "guidegrid/guidewindow.h"
#include "guidegrid/reminders.h"

#include <QDateTime>
#include <QMetaMethod>
#include <QTimer>
#include <QWidget>

namespace quorvel {

GuideGrid::GuideGrid(std::string catalogueFile, QObject* parent)
    : QObject(parent), catalogue_(std::move(catalogueFile)), reminders_(new Reminders(catalogue_, this)),
      notifications_(new DesktopNotifications(this))
{
    reminders_->SetNotify([this](const Reminder& r) {
        notifications_->Tell(r, QDateTime::fromSecsSinceEpoch(r.start).toString(QStringLiteral("HH:mm")));
    });
    connect(notifications_, &DesktopNotifications::watchChosen, this, &GuideGrid::playRequested);
    // Read once the window stands: the start of the program waits for none of it.
    QTimer::singleShot(1500, reminders_, &Reminders::Start);
}

GuideGrid::~GuideGrid() { delete window_.data(); }

GuideWindow* GuideGrid::Window() const { return window_.data(); }

void GuideGrid::SetChannelLook(std::function<int(const QString&)> numberOf,
                               std::function<QImage(const QString&, int)> logoOf)
{
    numberOf_ = std::move(numberOf);
    logoOf_ = std::move(logoOf);
}

void GuideGrid::SetArchiveDays(std::function<int(const QString&)> archiveDays)
{
    archiveDays_ = std::move(archiveDays);
    if (window_)
        window_->SetArchiveDays(archiveDays_);
}

void GuideGrid::Open()
{
    if (!window_) {
        // A window of the main one: it goes with it, and never keeps the program running alone.
        window_ = new GuideWindow(catalogue_, qobject_cast<QWidget*>(parent()));
        window_->SetNumbers(numberOf_);
        window_->SetLogos(logoOf_);
        window_->SetArchiveDays(archiveDays_);
        window_->SetReminders(reminders_);
        connect(window_, &GuideWindow::playRequested, this, &GuideGrid::playRequested);
        // Passed on only where someone listens, so that the window offers only what is there.
        if (isSignalConnected(QMetaMethod::fromSignal(&GuideGrid::archiveRequested)))
            connect(window_, &GuideWindow::archiveRequested, this, &GuideGrid::archiveRequested);
        if (isSignalConnected(QMetaMethod::fromSignal(&GuideGrid::recordRequested)))
            connect(window_, &GuideWindow::recordRequested, this, &GuideGrid::recordRequested);
    } else if (!window_->isVisible()) {
        window_->Reload();
    }
    window_->SetPlaying(playing_);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void GuideGrid::SetPlaying(const QString& channel)
{
    playing_ = channel;
    if (window_)
        window_->SetPlaying(channel);
}

void GuideGrid::LooksChanged()
{
    if (window_)
        window_->View().viewport()->update();
}

void GuideGrid::SourcesChanged()
{
    if (window_)
        window_->View().ForgetArchives();
}

void GuideGrid::GuideChanged()
{
    if (window_)
        window_->GuideChanged();
}

} // namespace quorvel
