// Quorvel Online TV: program entry.
#include "app/appicons.h"
#include "app/channellogos.h"
#include "app/form1.h"
#include "app/guidemanager.h"
#include "app/mpris.h"
#include "app/translations.h"
#include "catalogue/channelcatalogue.h"
#include "platform/datafolders.h"
#include "platform/displaysession.h"
#include "platform/terminationrequests.h"
#include "webhost/pagecomposition.h"
#include "webhost/webhostmodule.h"
#include "widgets/errorbox.h"

#include <QApplication>
#include <QLocale>
#include <QMessageBox>

#include <clocale>
#include <cstdio>
#include <vector>

namespace {

int CannotStart(const QString& reason)
{
    const QString text = QStringLiteral("Quorvel Online TV cannot start: %1").arg(quorvel::WithFullStop(reason));
    std::fprintf(stderr, "quorvel: %s\n", text.toLocal8Bit().constData());
    QMessageBox::critical(nullptr, QApplication::applicationDisplayName(), text);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    // On a Wayland desktop with XWayland the program is an X11 client, whatever the desktop asks
    // Qt for: the picture, the cards, the control bar and the ticker are native windows stacked
    // in the video area, and as a Wayland client they show no picture, a blank bar and
    // overlapping letters. The boss key then comes from the desktop portal (CreateHotKeyService).
    // Without an X server the program is a Wayland client, and nothing it does calls X11.
    QByteArray platform;
    std::vector<char*> arguments = quorvel::WithChosenPlatform(argc, argv, platform);
    int count = static_cast<int>(arguments.size()) - 1;
    quorvel::ComposePagesWithWidgets();
    QApplication app(count, arguments.data());
    QApplication::setApplicationName(QStringLiteral("Quorvel Online TV"));
    QApplication::setApplicationVersion(QStringLiteral("1.1.2.0"));
    QApplication::setApplicationDisplayName(QString::fromUtf8(quorvel::Form1::Title));
    // The desktop matches the window to its desktop file (icon, name, task bar) by this id.
    QApplication::setDesktopFileName(QString::fromLatin1(quorvel::kApplicationId));
    QApplication::setWindowIcon(quorvel::ApplicationIcon());
    quorvel::InstallTranslations(QLocale::system());
    // The player parses numbers with the C locale's rules.
    std::setlocale(LC_NUMERIC, "C");
    // The web host's guards run from before the main window until after it.
    quorvel::WebHostModule webHost;

    int rc = 0;
    try {
        // Beside the program when its folder is the user's, else in the user's data folder,
        // which starts with a copy of the installed catalogue.
        const auto folders = quorvel::DataFolders::For(QCoreApplication::applicationDirPath().toStdString() + "/");
        folders.Seeded(quorvel::ChannelCatalogue::FileName);
        quorvel::Form1 form(folders);
        // Log-out and Ctrl+C close the window as its close button does, hidden or not.
        quorvel::TerminationRequests termination;
        QObject::connect(&termination, &quorvel::TerminationRequests::requested, &form, [&form] {
            if (form.close())
                QCoreApplication::quit();
        });
        // Media keys and desktop player controls, where there is a session bus.
        quorvel::Mpris mpris(
            form.Session(), [&form](const QString& channel) { return form.ProgrammeNow(channel); },
            [&form](const QString& channel) { return form.LogoFile(channel); });
        QObject::connect(form.Logos1, &quorvel::ChannelLogos::changed, &mpris, &quorvel::Mpris::ArtMayHaveChanged);
        if (form.Guide1)
            QObject::connect(form.Guide1, &quorvel::GuideManager::Changed, &mpris,
                             &quorvel::Mpris::ProgrammeMayHaveChanged);
        form.show();
        // The window opens as the active one, as a program the user just started does.
        form.activateWindow();
        rc = QApplication::exec();
    } catch (const std::exception& e) {
        // The window could not be built (the player or the web engine refused to start): say
        // so and end with a failure status, instead of vanishing.
        rc = CannotStart(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        rc = CannotStart(QStringLiteral("an unknown error"));
    }
    quorvel::ExeDir.clear();
    return rc;
}
