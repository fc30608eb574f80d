#include "player/pictureoverlays.h"

#include "player/channelcard.h"
#include "player/numberentrycard.h"
#include "player/playermessage.h"
#include "player/programmecard.h"
#include "player/volumecard.h"
#include "player/zapcard.h"

#include <QLabel>
#include <QTimer>

#include <algorithm>

namespace quorvel {

namespace {

constexpr int kMargin = 10;

} // namespace

PictureOverlays::PictureOverlays(QWidget* player) : QObject(player), player_(player)
{
    card_ = new ChannelCard(player);
    programme_ = new ProgrammeCard(player);
    zap_ = new ZapCard(player);
    numbers_ = new NumberEntryCard(player);
    volume_ = new VolumeCard(player, numbers_);
    message_ = new PlayerMessage(player);
    message_->hide();

    buffering_ = new QLabel(player);
    buffering_->setStyleSheet(QStringLiteral("color: white; background: #141418; padding: 3px 8px; font-size: 11px;"));
    buffering_->hide();

    note_ = new QLabel(player);
    note_->setObjectName(QStringLiteral("playerNote"));
    note_->setStyleSheet(QStringLiteral("color: #f0f0f0; background: #1c2230; padding: 3px 8px; font-size: 11px;"));
    note_->hide();
    noteTimer_ = new QTimer(this);
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(kNoteMs);
    connect(noteTimer_, &QTimer::timeout, this, &PictureOverlays::HideNote);

    for (QWidget* w :
         std::initializer_list<QWidget*>{card_, programme_, zap_, numbers_, volume_, message_, buffering_, note_})
        w->setAttribute(Qt::WA_NativeWindow);
}

void PictureOverlays::Place(const QRect& videoArea, bool fullScreen)
{
    videoArea_ = videoArea;
    fullScreen_ = fullScreen;
    message_->PlaceIn(videoArea);
    card_->setGeometry(videoArea);
    // Each card is moved once: a card on screen moved twice uncovered the picture between, which
    // the window system cleared and the video had to draw again.
    programme_->setGeometry(ClearOfKeptBox(ProgrammeCard::Place(videoArea)));
    PlaceZapCard();
    numbers_->PlaceIn(videoArea);
    volume_->PlaceIn(videoArea);
    PlaceTopLeft();
}

void PictureOverlays::PlaceTopLeft()
{
    // High in the corner, over the picture's edge and clear of the cards low on the left: the
    // remark first, the buffering note under it.
    int top = videoArea_.top() + kMargin;
    note_->move(videoArea_.left() + kMargin, top);
    note_->raise();
    if (note_->isVisible())
        top += note_->height() + kMargin / 2;
    buffering_->move(videoArea_.left() + kMargin, top);
    buffering_->raise();
}

void PictureOverlays::KeepClearOf(QSize box, int rightGap, int bottomGap)
{
    keptBox_ = box;
    keptRightGap_ = rightGap;
    keptBottomGap_ = bottomGap;
}

void PictureOverlays::PlaceZapCard()
{
    const QRect& area = videoArea_;
    // Stacked on the programme card when there is one, their borders one line; else where it goes.
    const int bottom = programme_->Info().Empty() ? area.bottom() - kMargin : programme_->geometry().top();
    QRect zap = ClearOfKeptBox(ZapCard::Place(area, bottom));
    // One column with the programme card, which may have been made narrower than the zap card.
    if (!programme_->Info().Empty())
        zap.setWidth(std::min(zap.width(), programme_->width()));
    zap_->setGeometry(zap);
}

QRect PictureOverlays::ClearOfKeptBox(QRect card) const
{
    if (keptBox_.isEmpty() || fullScreen_)
        return card;
    constexpr int kGap = 6;
    const QRect kept(player_->width() - keptRightGap_ - keptBox_.width(),
                     player_->height() - keptBottomGap_ - keptBox_.height(), keptBox_.width(), keptBox_.height());
    if (!card.intersects(kept.adjusted(-kGap, -kGap, kGap, kGap)))
        return card;
    // Narrower where that leaves the card room for its lines; else lifted above the box.
    constexpr int kNarrowest = 240;
    if (kept.left() - kGap - card.left() >= kNarrowest) {
        card.setRight(kept.left() - kGap - 1);
        return card;
    }
    card.moveBottom(kept.top() - kGap - 1);
    return card;
}

void PictureOverlays::RaiseOverCard()
{
    for (QWidget* w : std::initializer_list<QWidget*>{zap_, numbers_, volume_})
        if (w->isVisible())
            w->raise();
}

void PictureOverlays::ShowMessage(const QString& title, const QString& headline, const QString& details,
                                  const QString& action)
{
    // Placed before it shows: a box that grows or moves while shown leaves traces on the
    // native windows under it.
    card_->hide();
    message_->Set(title, headline, details, action);
    Place(videoArea_, fullScreen_);
    message_->show();
    message_->raise();
    message_->repaint();
}

void PictureOverlays::HideMessage() { message_->hide(); }

void PictureOverlays::Notice(const QString& text)
{
    ShowMessage(QString(), text, QString(), QString());
    QTimer::singleShot(kNoticeMs, this, [this, text] {
        if (Message() == text)
            message_->hide();
    });
}

QString PictureOverlays::Message() const { return message_->isVisible() ? message_->Headline() : QString(); }

QString PictureOverlays::MessageDetails() const { return message_->isVisible() ? message_->Details() : QString(); }

void PictureOverlays::ShowNote(const QString& text)
{
    note_->setText(text);
    note_->adjustSize();
    note_->show();
    noteTimer_->start();
    PlaceTopLeft();
}

void PictureOverlays::HideNote()
{
    note_->hide();
    PlaceTopLeft();
}

QString PictureOverlays::Note() const { return note_->isVisible() ? note_->text() : QString(); }

void PictureOverlays::ShowBuffering(bool on, int percent)
{
    buffering_->setText(tr("Buffering… %1%").arg(percent));
    buffering_->adjustSize();
    buffering_->setVisible(on);
    PlaceTopLeft();
}

void PictureOverlays::HideBuffering() { buffering_->hide(); }

} // namespace quorvel
