#pragma once

#include <QWidget>

namespace quorvel {

// What the video area shows while it has no picture of its own: the channel's name while the
// channel opens ("Connecting…") or is opened again after it stopped sending ("Reconnecting…"),
// or its name and a sound sign for a channel that has only sound.
class ChannelCard : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Connecting, Reconnecting, AudioOnly };

    explicit ChannelCard(QWidget* parent = nullptr);

    void ShowFor(Kind kind, const QString& channelName);
    Kind CardKind() const { return kind_; }
    QString ChannelName() const { return name_; }
    // The line under the name.
    QString Status() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_ = Kind::Connecting;
    QString name_;
};

} // namespace quorvel
