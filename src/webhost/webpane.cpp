#include "webhost/webpane.h"

#include "base/exception.h"
#include "webhost/activecontrol.h"
#include "webhost/dialogguard.h"
#include "webhost/webhostmodule.h"
#include "webhost/webpaneinterceptor.h"
#include "webhost/webpanepage.h"

#include <QApplication>
#include <QChildEvent>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeDatabase>
#include <QThread>
#include <QUrl>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <cfenv>

namespace quorvel {
namespace {

// Pages handed over whole travel as one data address, which has a limit.
constexpr qint64 kMaxInlinePage = 1500 * 1024;

WebPane::SaveAsk& SaveAskHandler()
{
    static WebPane::SaveAsk ask;
    return ask;
}

QString AskWhereToSave(QWidget* parent, const QString& suggestedPath)
{
    if (SaveAskHandler())
        return SaveAskHandler()(parent, suggestedPath);
    return QFileDialog::getSaveFileName(parent, QObject::tr("Save As"), suggestedPath);
}

} // namespace

WebPane::WebPane(QWidget* parent) : QWidget(parent)
{
    view_ = new QWebEngineView(this);
    page_ = new WebPanePage(view_);
    interceptor_ = new WebPaneInterceptor(policy_, page_);
    page_->setUrlRequestInterceptor(interceptor_);
    HostPolicy::Apply(*page_->settings());
    view_->setPage(page_);
    // The menu is the policy's, not the engine's as it comes.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &WebPane::ShowContextMenu);
    // The engine's inner widget comes and goes with the page: each one is watched for keys and
    // focus.
    view_->installEventFilter(this);
    for (QObject* child : view_->children())
        WatchInnerWidget(child);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] { complete_ = false; });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        complete_ = true;
        emit loadFinished(ok);
    });
    connect(page_->profile(), &QWebEngineProfile::downloadRequested, this, &WebPane::DownloadRequested);
}

WebPane::~WebPane()
{
    stopping_ = true;
    dialogGuard_.reset();
    // The page goes before the engine view that shows it.
    view_->setPage(nullptr);
    delete page_;
    page_ = nullptr;
    delete view_;
    view_ = nullptr;
}

QWebEnginePage* WebPane::Page() const { return page_; }

void WebPane::SetSaveAsk(SaveAsk ask) { SaveAskHandler() = std::move(ask); }

void WebPane::Loaded()
{
    if (const std::fenv_t* saved = WebHostModule::SavedFloatingPointEnvironment())
        std::fesetenv(saved);
    if (!dialogGuard_ && parentWidget())
        dialogGuard_.reset(DialogGuard::Install(window()));
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
    while (!stopping_ && !complete_) {
        if (static_cast<quint64>(clock.elapsed()) > timeOut)
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

bool WebPane::PageHasFocus() const
{
    const QWidget* focus = QApplication::focusWidget();
    return focus && view_->isAncestorOf(focus);
}

bool WebPane::UIActivate()
{
    if (page_->url().isEmpty() || !view_->focusProxy())
        return false;
    view_->setFocus(Qt::ActiveWindowFocusReason);
    if (window() != this && CanFocus())
        ActiveControl::Set(window(), this);
    return true;
}

QString WebPane::CurrentUrl() const { return page_->url().toString(); }

bool WebPane::event(QEvent* event)
{
    if (event->type() == QEvent::ShowToParent)
        visibleState_ = true;
    else if (event->type() == QEvent::HideToParent)
        visibleState_ = false;
    else if (event->type() == FocusRequestEvent) {
        QWidget* form = window();
        if (form != this && qobject_cast<WebPane*>(ActiveControl::Of(form)) && CanFocus()) {
            ActiveControl::Set(form, this);
            UIActivate();
        }
        return true;
    }
    return QWidget::event(event);
}

void WebPane::WatchInnerWidget(QObject* child)
{
    if (child->isWidgetType())
        child->installEventFilter(this);
}

bool WebPane::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (watched == view_)
            WatchInnerWidget(static_cast<QChildEvent*>(event)->child());
        break;
    case QEvent::FocusIn:
        // Focus arriving in the page makes the pane its window's active control.
        if (watched != view_ && window() != this && CanFocus())
            ActiveControl::Set(window(), this);
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        // Accepting the shortcut check keeps the program's own shortcuts from acting on the key.
        if (watched != view_ && policy_.RefusesKey(*static_cast<QKeyEvent*>(event))) {
            event->accept();
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

void WebPane::ShowContextMenu(const QPoint& pos)
{
    QMenu* menu = view_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    HostPolicy::TrimContextMenu(*menu, *page_);
    menu->popup(view_->mapToGlobal(pos));
}

void WebPane::DownloadRequested(QWebEngineDownloadRequest* download)
{
    if (!page_ || download->page() != page_ || download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    const QString suggested = QDir(download->downloadDirectory()).filePath(download->downloadFileName());
    const QString chosen = AskWhereToSave(this, suggested);
    if (chosen.isEmpty()) {
        download->cancel();
        return;
    }
    // The file goes exactly where the user said, under the name the user gave.
    const QFileInfo target(chosen);
    download->setDownloadDirectory(target.absolutePath());
    download->setDownloadFileName(target.fileName());
    download->accept();
}

void WebPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    view_->setGeometry(rect());
}

} // namespace quorvel
