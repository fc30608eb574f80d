#include "provider/keyring.h"

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace quorvel {
namespace {

Keyring::Answer Run(QKeychain::Job& job)
{
    // The keyring's own fallback is a plain file: a password goes into the keyring or nowhere.
    job.setInsecureFallback(false);
    job.setAutoDelete(false);
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec();
    Keyring::Answer answer;
    switch (job.error()) {
    case QKeychain::NoError:
        answer.outcome = Keyring::Outcome::Done;
        break;
    case QKeychain::EntryNotFound:
        answer.outcome = Keyring::Outcome::NotFound;
        break;
    case QKeychain::NoBackendAvailable:
    case QKeychain::NotImplemented:
        answer.outcome = Keyring::Outcome::NoKeyring;
        break;
    default:
        answer.outcome = Keyring::Outcome::Failed;
        break;
    }
    if (answer.outcome != Keyring::Outcome::Done)
        answer.why = job.errorString();
    return answer;
}

} // namespace

Keyring::Answer Keyring::Read(const QString& key)
{
    QKeychain::ReadPasswordJob job(QString::fromLatin1(kService));
    job.setKey(key);
    Answer answer = Run(job);
    if (answer.outcome == Outcome::Done)
        answer.password = job.textData();
    return answer;
}

Keyring::Answer Keyring::Write(const QString& key, const QString& password)
{
    QKeychain::WritePasswordJob job(QString::fromLatin1(kService));
    job.setKey(key);
    job.setTextData(password);
    return Run(job);
}

Keyring::Answer Keyring::Remove(const QString& key)
{
    QKeychain::DeletePasswordJob job(QString::fromLatin1(kService));
    job.setKey(key);
    Answer answer = Run(job);
    if (answer.outcome == Outcome::NotFound)
        answer.outcome = Outcome::Done;
    return answer;
}

} // namespace quorvel
