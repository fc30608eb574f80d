#pragma once

#include <QObject>

class QSocketNotifier;

namespace quorvel {

// Turns the desktop's polite requests to end the program (SIGTERM at log-out, SIGINT from a
// terminal, SIGHUP when the terminal goes) into a Qt signal, so that the window closes the
// usual way: the hot key is released, the player stops, everything is destroyed in order.
// Only one exists at a time.
class TerminationRequests : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequests(QObject* parent = nullptr);
    ~TerminationRequests() override;

signals:
    void requested(int signalNumber);

private:
    void Drain();

    QSocketNotifier* notifier_ = nullptr;
};

} // namespace quorvel
