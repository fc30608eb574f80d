#include "servedhls.h"

#include <QJsonDocument>

#include <cstdlib>

ServedHls::ServedHls(const QStringList& arguments)
{
    const QString script = QString::fromLocal8Bit(std::getenv("QUORVEL_SOURCE_DIR")) + "/tests/playback/served_hls.py";
    process_.start("python3", QStringList{script} + arguments);
    if (process_.waitForReadyRead(120000))
        url_ = QString::fromUtf8(process_.readLine()).trimmed();
}

ServedHls::~ServedHls() { Stop(); }

void ServedHls::Stop()
{
    process_.kill();
    process_.waitForFinished();
}

const QList<ServedHls::Request>& ServedHls::Requests()
{
    while (process_.canReadLine()) {
        const QString line = QString::fromUtf8(process_.readLine()).trimmed();
        const auto parts = line.section(' ', 1, 1);
        const QJsonObject headers = QJsonDocument::fromJson(line.section(' ', 2).toUtf8()).object();
        if (line.startsWith("GET "))
            requests_.append({parts, headers});
    }
    return requests_;
}

void ServedHls::ForgetRequests()
{
    Requests();
    requests_.clear();
}
