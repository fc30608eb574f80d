#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>

class QLabel;
class QTimer;
class QWidget;

namespace quorvel {

class ChannelCard;
class NumberEntryCard;
class PlayerMessage;
class ProgrammeCard;
class VolumeCard;
class ZapCard;

// What the player shows over the picture, each a native window of its own above the video: the
// channel card while there is no picture, the programme and zap cards stacked low on the left,
// the number being typed and the volume in the top right corner, a passing remark and the
// buffering note in the top left, and the message in the middle. Lays them out in the video
// area, clear of the box the player's parent keeps over the picture (the ticker).
class PictureOverlays : public QObject {
    Q_OBJECT
public:
    // The cards are made as children of the player.
    explicit PictureOverlays(QWidget* player);

    ChannelCard& Card() const { return *card_; }
    ProgrammeCard& Programme() const { return *programme_; }
    ZapCard& Zap() const { return *zap_; }
    NumberEntryCard& Numbers() const { return *numbers_; }
    PlayerMessage& MessageBox() const { return *message_; }
    VolumeCard& Volume() const { return *volume_; }

    // Places every card in the area the picture takes; fullScreen: the player has left its
    // parent, and the kept box with it. Each card is moved at most once.
    void Place(const QRect& videoArea, bool fullScreen);
    // The kept box by its size and its gaps to the player's right and bottom edges.
    void KeepClearOf(QSize box, int rightGap, int bottomGap);
    void PlaceZapCard();
    // The cards that must stay above the channel card when it comes up.
    void RaiseOverCard();

    void ShowMessage(const QString& title, const QString& headline, const QString& details, const QString& action);
    void HideMessage();
    // A notice over the picture, not a verdict on the channel: it goes after a while.
    void Notice(const QString& text);
    // The message's headline and mpv's words below it (empty when no message shows).
    QString Message() const;
    QString MessageDetails() const;

    // A short remark for a few seconds ("Playing without sound").
    void ShowNote(const QString& text);
    void HideNote();
    QString Note() const;
    void ShowBuffering(bool on, int percent);
    void HideBuffering();

private:
    QRect ClearOfKeptBox(QRect card) const;
    void PlaceTopLeft();

    QWidget* player_;
    ChannelCard* card_ = nullptr;
    ProgrammeCard* programme_ = nullptr;
    ZapCard* zap_ = nullptr;
    NumberEntryCard* numbers_ = nullptr;
    VolumeCard* volume_ = nullptr;
    PlayerMessage* message_ = nullptr;
    QLabel* buffering_ = nullptr;
    QLabel* note_ = nullptr;
    QTimer* noteTimer_ = nullptr;
    QRect videoArea_;
    bool fullScreen_ = false;
    QSize keptBox_;
    int keptRightGap_ = 0;
    int keptBottomGap_ = 0;
    // How long a notice shows.
    static constexpr int kNoticeMs = 6000;
    // How long a note over the picture shows.
    static constexpr int kNoteMs = 5000;
};

} // namespace quorvel
