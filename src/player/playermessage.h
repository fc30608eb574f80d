#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

namespace quorvel {

// The box in the middle of the video that says what became of the channel: its name, what
// happened in plain words, the player's own words below in small print, and a button to try
// again. Any line may be empty; the button shows only with a caption.
class PlayerMessage : public QWidget {
    Q_OBJECT
public:
    explicit PlayerMessage(QWidget* parent = nullptr);

    // Puts the lines; the owner places and shows the box.
    void Set(const QString& title, const QString& headline, const QString& details, const QString& action);
    QString Title() const;
    QString Headline() const;
    QString Details() const;
    // Places the box in the middle of the area, at most a comfortable reading width.
    void PlaceIn(const QRect& area);

signals:
    void actionClicked();

private:
    QLabel* title_ = nullptr;
    QLabel* headline_ = nullptr;
    QLabel* details_ = nullptr;
    QPushButton* action_ = nullptr;
};

} // namespace quorvel
