#pragma once

#include <QToolButton>

namespace quorvel {

// The control bar's record button: a red dot, a square while recording.
class RecordButton : public QToolButton {
    Q_OBJECT
public:
    explicit RecordButton(QWidget* parent = nullptr);
    void ShowRecording(bool recording);
    bool ShowsRecording() const { return recording_; }

private:
    bool recording_ = false;
};

} // namespace quorvel
