#pragma once

#include "guide/guidejob.h"
#include "guide/guideoutcome.h"

#include <QObject>

#include <atomic>
#include <memory>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace quorvel {

// Reads one guide at a time on the thread it lives on: a file in one go, a web address as its
// bytes arrive (so a large guide is never held whole). Done tells how it went.
class GuideFetch : public QObject {
    Q_OBJECT
public:
    explicit GuideFetch(const std::atomic<bool>& cancel);
    ~GuideFetch() override;

    void Run(GuideJob job);

signals:
    void Done(const quorvel::GuideOutcome& outcome);

private:
    void ReadRemote(const QUrl& url, int timeoutMs);
    void TakeBytes();
    void RemoteFinished();
    void Conclude(GuideOutcome outcome);

    const std::atomic<bool>& cancel_;
    std::unique_ptr<QNetworkAccessManager> network_;
    QNetworkReply* reply_ = nullptr;
    QTimer* silence_;
    std::shared_ptr<GuideSink> sink_; // outlives the reader that feeds it
    std::unique_ptr<GuideReader> reader_;
    QString where_;
    int timeoutMs_ = 0;
    bool timedOut_ = false;
    bool readerStopped_ = false;
    bool fed_ = false;
};

} // namespace quorvel
