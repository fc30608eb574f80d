#pragma once

#include "guide/guidejob.h"
#include "guide/guideoutcome.h"

#include <QObject>
#include <QThread>

#include <atomic>
#include <deque>

namespace quorvel {

class GuideFetch;

// Reads guides on a worker thread of its own, never on the window's: jobs run one after the
// other, each job's sink is fed on the worker, and Finished reaches this object's thread.
class GuideLoader : public QObject {
    Q_OBJECT
public:
    explicit GuideLoader(QObject* parent = nullptr);
    // Cancels the guide being read and waits for the worker: a file read stops at its next
    // chunk, a download at once.
    ~GuideLoader() override;

    void Load(GuideJob job);
    bool IsLoading() const { return busy_; }

signals:
    void Finished(const QString& location, const quorvel::GuideOutcome& outcome);

private:
    void StartNext();
    void OnDone(const GuideOutcome& outcome);

    QThread thread_;
    GuideFetch* fetch_;
    std::atomic<bool> cancel_{false};
    std::deque<GuideJob> jobs_;
    QString current_;
    bool busy_ = false;
};

} // namespace quorvel
