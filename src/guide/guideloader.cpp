#include "guide/guideloader.h"

#include "guide/guidefetch.h"

namespace quorvel {

GuideLoader::GuideLoader(QObject* parent) : QObject(parent), fetch_(new GuideFetch(cancel_))
{
    qRegisterMetaType<quorvel::GuideOutcome>("quorvel::GuideOutcome");
    thread_.setObjectName(QStringLiteral("guide"));
    fetch_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, fetch_, &QObject::deleteLater);
    connect(fetch_, &GuideFetch::Done, this, &GuideLoader::OnDone);
    thread_.start(QThread::LowPriority);
}

GuideLoader::~GuideLoader()
{
    cancel_ = true;
    thread_.quit();
    thread_.wait();
}

void GuideLoader::Load(GuideJob job)
{
    jobs_.push_back(std::move(job));
    if (!busy_)
        StartNext();
}

void GuideLoader::StartNext()
{
    if (jobs_.empty()) {
        busy_ = false;
        return;
    }
    busy_ = true;
    GuideJob job = std::move(jobs_.front());
    jobs_.pop_front();
    current_ = job.location;
    GuideFetch* fetch = fetch_;
    QMetaObject::invokeMethod(fetch_, [fetch, job = std::move(job)]() mutable { fetch->Run(std::move(job)); });
}

void GuideLoader::OnDone(const GuideOutcome& outcome)
{
    const QString location = current_;
    StartNext();
    emit Finished(location, outcome);
}

} // namespace quorvel
