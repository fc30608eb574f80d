// One start of the player window, or of a bare web view, to the moment the start page has loaded.
// Prints "ready" then and quits; startup.py times it from the process start.
//   bench_startup form <program folder>     the main window (tree filled, start page loaded)
//   bench_startup bare <page file>           one QWebEngineView showing the same page
#include "app/form1.h"
#include "webhost/pagecomposition.h"
#include "webhost/webpane.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    // The window composes its pages as the program does; the bare view is left as Qt has it.
    if (std::strcmp(argv[1], "form") == 0)
        quorvel::ComposePagesWithWidgets();
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    auto ready = [] {
        std::puts("ready");
        std::fflush(stdout);
        QTimer::singleShot(0, qApp, &QApplication::quit);
    };
    int rc = 0;
    if (std::strcmp(argv[1], "form") == 0) {
        auto form = std::make_unique<quorvel::Form1>(std::string(argv[2]) + "/", QStringLiteral("null"));
        QObject::connect(form->WebPane2, &quorvel::WebPane::loadFinished, ready);
        form->show();
        rc = QApplication::exec();
    } else {
        auto view = std::make_unique<QWebEngineView>();
        QObject::connect(view.get(), &QWebEngineView::loadFinished, ready);
        QFile page(QString::fromLocal8Bit(argv[2]));
        page.open(QIODevice::ReadOnly);
        view->setContent(page.readAll(), QStringLiteral("text/html"), QUrl::fromLocalFile(page.fileName()));
        view->resize(509, 444);
        view->show();
        rc = QApplication::exec();
    }
    return rc;
}
