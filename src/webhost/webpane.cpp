#include "webpane.h"

#include "exception.h"
#include "webpanepage.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QChildEvent>
#include <QKeyEvent>
#include <QThread>
#include <QUrl>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace quorvel {
namespace {

// Pages handed over whole travel as one data address, which has a limit.
constexpr qint64 kMaxInlinePage = 1500 * 1024;

} // namespace

WebPane::WebPane(QWidget* parent) : QWidget(parent)
{
    view_ = new QWebEngineView(this);
    page_ = new WebPanePage(view_);
    view_->setPage(page_);
    // The panes show local pages that link to and show things from the web.
    page_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->installEventFilter(this);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { complete_ = false; });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        complete_ = true;
        emit loadFinished(ok);
    });
}

WebPane::~WebPane()
{
    stopping_ = true;
    // The page goes before the engine view that shows it.
    view_->setPage(nullptr);
    delete page_;
    page_ = nullptr;
    delete view_;
    view_ = nullptr;
}

bool WebPane::Navigate(const QString& url, quint32 timeOut)
{
    const QUrl address(url, QUrl::StrictMode);
    if (url.isEmpty() || !address.isValid() || address.scheme().isEmpty())
        throw Exception("The address was rejected: " + url.toLocal8Bit().toStdString());
    complete_ = false;
    LoadAddress(address);
    emit navigationStarted(url);
    if (timeOut == 0)
        return true;
    QElapsedTimer clock;
    clock.start();
    const qint64 start = QDateTime::currentMSecsSinceEpoch();
    while (!stopping_ && !complete_) {
        bool cancel = false;
        if (onBusyWait_)
            onBusyWait_(this, start, cancel, timeOut);
        if (cancel || (timeOut != 0 && static_cast<quint64>(clock.elapsed()) > timeOut))
            return false;
        if (QCoreApplication::closingDown())
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::msleep(1);
    }
    return true;
}

void WebPane::LoadAddress(const QUrl& address)
{
    // The engine decides a local file's kind by its name alone, and shows an HTML page named
    // "*.dat" as plain text. Such a page is handed over as HTML, at its own address so that
    // what it links to resolves as usual.
    if (address.isLocalFile()) {
        QFile file(address.toLocalFile());
        const QMimeDatabase mime;
        const QString suffix = QFileInfo(file).suffix().toLower();
        if (suffix != QLatin1String("html") && suffix != QLatin1String("htm") && file.size() <= kMaxInlinePage &&
            mime.mimeTypeForFile(file.fileName(), QMimeDatabase::MatchContent).inherits(QStringLiteral("text/html")) &&
            file.open(QIODevice::ReadOnly)) {
            page_->setContent(file.readAll(), QStringLiteral("text/html"), address);
            return;
        }
    }
    page_->load(address);
}

void WebPane::SetVisible(bool visible)
{
    if (visible == visibleState_)
        return;
    visibleState_ = visible;
    setVisible(visible);
}

bool WebPane::CanFocus() const
{
    for (const QWidget* w = this; w; w = w->parentWidget())
        if (!w->isVisible() || !w->isEnabled())
            return false;
    return true;
}

void WebPane::FocusRequest()
{
    if (CanFocus())
        view_->setFocus(Qt::OtherFocusReason);
}

QString WebPane::CurrentUrl() const { return page_->url().toString(); }

bool WebPane::event(QEvent* event)
{
    // The pane's own record of its visibility follows every show and hide.
    if (event->type() == QEvent::ShowToParent)
        visibleState_ = true;
    else if (event->type() == QEvent::HideToParent)
        visibleState_ = false;
    return QWidget::event(event);
}

bool WebPane::eventFilter(QObject* watched, QEvent* event)
{
    // Keys go to the engine's inner widget, which comes and goes with the page: watch it too.
    if (event->type() == QEvent::ChildAdded)
        if (auto* child = qobject_cast<QWidget*>(static_cast<QChildEvent*>(event)->child()))
            child->installEventFilter(this);
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::ControlModifier) && key->key() >= Qt::Key_A && key->key() <= Qt::Key_Z &&
            disableCtrlShortcuts_.contains(QChar('A' + (key->key() - Qt::Key_A)))) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void WebPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    view_->setGeometry(rect());
}

} // namespace quorvel
