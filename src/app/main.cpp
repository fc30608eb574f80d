// Quorvel Online TV: program entry.
#include "appicons.h"
#include "form1.h"
#include "mpris.h"
#include "terminationrequests.h"
#include "webhostmodule.h"

#include <QApplication>
#include <clocale>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel Online TV"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.2.0"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(quorvel::Form1::Title));
    QApplication::setWindowIcon(quorvel::ApplicationIcon());
    // The player parses numbers with the C locale's rules.
    std::setlocale(LC_NUMERIC, "C");
    // The web host's guards run from before the main window until after it.
    quorvel::WebHostModule webHost;

    int rc = 0;
    {
        quorvel::Form1 form(QCoreApplication::applicationDirPath().toStdString() + "/");
        // Log-out and Ctrl+C close the window as its close button does, hidden or not.
        quorvel::TerminationRequests termination;
        QObject::connect(&termination, &quorvel::TerminationRequests::requested, &form, [&form] {
            if (form.close())
                QCoreApplication::quit();
        });
        // Media keys and desktop player controls, where there is a session bus.
        quorvel::Mpris mpris(form);
        form.show();
        // The window opens as the active one, as a program the user just started does.
        form.activateWindow();
        rc = QApplication::exec();
    }
    quorvel::ExeDir.clear();
    return rc;
}
