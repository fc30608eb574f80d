#include "platform/shellopen.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QUrl>

namespace quorvel {

namespace {

std::function<void(const QString&)>& FailureHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

void SetShellOpenFailureHandler(std::function<void(const QString& address)> handler)
{
    FailureHandler() = std::move(handler);
}

void ShellOpen(const QString& address)
{
    const QString url = QUrl(address, QUrl::StrictMode).toString(QUrl::FullyEncoded);
    // The opener runs under a shell of ours that only reports how it ended: the opener often
    // stays until the browser it started is closed, and ending the player ends that shell
    // alone, never the browser.
    auto* process = new QProcess(QCoreApplication::instance());
    // The player chooses how its web panes are composed through an environment switch of Qt's;
    // the browser it starts (which may be a Qt program too) gets the environment without it.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_QUICK_BACKEND"));
    environment.remove(QStringLiteral("QT_WIDGETS_RHI"));
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(process, &QProcess::finished, process, [process, address](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        if ((status != QProcess::NormalExit || code != 0) && FailureHandler())
            FailureHandler()(address);
    });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, address](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        if (FailureHandler())
            FailureHandler()(address);
    });
    process->start(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"), QStringLiteral("xdg-open \"$1\" >/dev/null 2>&1 </dev/null"),
                    QStringLiteral("quorvel-open"), url});
}

} // namespace quorvel
