#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <optional>

class QTimer;

namespace quorvel {

// The volume, or that the sound is off, for a moment in the picture's top right corner whenever
// it changes while channels play, by whatever means (keys, the wheel, the bar, media keys):
// small, in the colours of the other cards. What the program sets as it starts shows nothing.
class VolumeCard : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMs = 1200;
    static constexpr int kWidth = 168;
    static constexpr int kHeight = 30;

    // under: a card of the same corner (the number being typed) that this one keeps below.
    VolumeCard(QWidget* parent, const QWidget* under);

    // What mpv tells of the sound: a change shows once Arm() was called. The first word of each
    // is where it stands, no change.
    void SetVolume(double volume);
    void SetMuted(bool muted);
    // Changes show from now on (the first channel plays).
    void Arm() { armed_ = true; }
    // What the card shows now ("Volume 45", "Muted"); empty when hidden.
    QString Text() const;
    void PlaceIn(const QRect& videoArea);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowForAMoment();

    QPointer<const QWidget> under_;
    QTimer* hide_ = nullptr;
    QRect area_;
    std::optional<int> volume_;
    std::optional<bool> muted_;
    bool armed_ = false;
};

} // namespace quorvel
