#include "webhost/webpane.h"

#include "webhost/activecontrol.h"
#include "webhost/dialogguard.h"
#include "webhost/downloadcontrol.h"
#include "widgets/errorbox.h"
#include "base/exception.h"
#include "webhost/webhostmodule.h"
#include "webhost/webpaneinterceptor.h"
#include "webhost/webpanepage.h"

#include <QAction>
#include <QApplication>
#include <QChildEvent>
#include <QCursor>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonValue>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QWebEngineContextMenuRequest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <algorithm>
#include <cfenv>

namespace quorvel {
namespace {

// Pages handed over whole travel as one data address, which has a limit.
constexpr qint64 kMaxInlinePage = 1500 * 1024;
const QString kHostStyleScript = QStringLiteral("quorvel-host-css");

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

// The command a menu item of the engine stands for, where the host's menu items have one.
unsigned MenuCommandOf(QWebEnginePage::WebAction action)
{
    switch (action) {
    case QWebEnginePage::Back:
        return PopupMenuCommand(PopupMenuItem::rcsBack);
    case QWebEnginePage::Forward:
        return PopupMenuCommand(PopupMenuItem::rcsForward);
    case QWebEnginePage::SelectAll:
        return PopupMenuCommand(PopupMenuItem::rcsSelectAll);
    case QWebEnginePage::Paste:
    case QWebEnginePage::PasteAndMatchStyle:
        return PopupMenuCommand(PopupMenuItem::rcsPaste);
    case QWebEnginePage::Reload:
    case QWebEnginePage::ReloadAndBypassCache:
        return PopupMenuCommand(PopupMenuItem::rcsRefresh);
    case QWebEnginePage::ViewSource:
        return PopupMenuCommand(PopupMenuItem::rcsViewSource);
    case QWebEnginePage::OpenLinkInNewWindow:
    case QWebEnginePage::OpenLinkInNewTab:
    case QWebEnginePage::OpenLinkInNewBackgroundTab:
        return PopupMenuCommand(PopupMenuItem::rcsOpenNWindow);
    case QWebEnginePage::OpenLinkInThisWindow:
        return PopupMenuCommand(PopupMenuItem::rcsOpenLink);
    default:
        return 0;
    }
}

// The engine's menu items that have a host menu command.
constexpr QWebEnginePage::WebAction kMenuActions[] = {
    QWebEnginePage::Back,
    QWebEnginePage::Forward,
    QWebEnginePage::SelectAll,
    QWebEnginePage::Paste,
    QWebEnginePage::PasteAndMatchStyle,
    QWebEnginePage::Reload,
    QWebEnginePage::ReloadAndBypassCache,
    QWebEnginePage::ViewSource,
    QWebEnginePage::OpenLinkInNewWindow,
    QWebEnginePage::OpenLinkInNewTab,
    QWebEnginePage::OpenLinkInNewBackgroundTab,
    QWebEnginePage::OpenLinkInThisWindow,
};

// No separator at either end or next to another.
void TidySeparators(QMenu* menu)
{
    QAction* previous = nullptr;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator() && (!previous || previous->isSeparator()))
            menu->removeAction(action);
        else
            previous = action;
    }
    const auto actions = menu->actions();
    if (!actions.isEmpty() && actions.back()->isSeparator())
        menu->removeAction(actions.back());
}

} // namespace

WebPane::WebPane(QWidget* parent) : QWidget(parent)
{
    view_ = new QWebEngineView(this);
    page_ = new WebPanePage(*this, view_);
    interceptor_ = new WebPaneInterceptor(*this, page_);
    page_->setUrlRequestInterceptor(interceptor_);
    view_->setPage(page_);
    // The menu is decided here, by the host's answer, before the engine's standard one shows.
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view_, &QWidget::customContextMenuRequested, this, &WebPane::PageContextMenu);
    view_->installEventFilter(this);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] {
        complete_ = false;
        ApplySettings();
    });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        complete_ = true;
        emit loadFinished(ok);
    });
    connect(page_->profile(), &QWebEngineProfile::downloadRequested, this, &WebPane::DownloadRequested);
    ApplySettings();
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
    if (DisableErrors.ScriptErrorsSuppressed)
        ScriptErrorAction = ErrorAction::eaContinue;
    // Whatever a library changed on the way, pages compute with the program's own environment.
    if (!DisableErrors.fpExceptions)
        std::fesetenv(FE_DFL_ENV);
    else if (const std::fenv_t* saved = WebHostModule::SavedFloatingPointEnvironment())
        std::fesetenv(saved);
    if (!dialogGuard_ && parentWidget())
        dialogGuard_.reset(DialogGuard::Install(*this, window()));
}

void WebPane::ApplySettings()
{
    if (!page_)
        return;
    QWebEngineSettings* s = page_->settings();
    DocHostUIInfo info;
    RunHandler([&] { GetHostInfo(&info); });
    const DownloadControl download(DownloadControlFlags());
    s->setAttribute(QWebEngineSettings::JavascriptEnabled, download.ScriptsEnabled() && !page_->ScriptsStopped());
    s->setAttribute(QWebEngineSettings::AutoLoadImages, download.ImagesEnabled());
    // Plug-ins stay as the engine has them, off: its only one, the document viewer, costs a
    // third of a second at every start. Plug-in requests still obey the options (see the
    // interceptor), and documents a page offers are downloads.
    s->setAttribute(QWebEngineSettings::ShowScrollBars, (info.dwFlags & DOCHOSTUIFLAG_SCROLL_NO) == 0);
    // The panes show local pages that link to and show things from the web.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls,
                    (info.dwFlags & DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK) == 0);
    // The engine hands links of schemes it does not know to the desktop, which runs whatever
    // program claims them; a pane follows no such link.
    s->setUnknownUrlSchemePolicy(QWebEngineSettings::DisallowUnknownUrlSchemes);
    bool focusChange = true;
    RunHandler([&] { AllowFocusChange(&focusChange); });
    s->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, focusChange);
    // Drops are the engine's only while the browser is the drop target.
    s->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, false);
    RunHandler([&] {
        void* target = nullptr;
        GetDropTarget(nullptr, &target);
    });

    const QString css = info.pchHostCss.value_or(QString());
    QWebEngineScriptCollection& scripts = page_->scripts();
    for (const QWebEngineScript& old : scripts.find(kHostStyleScript))
        scripts.remove(old);
    if (!css.isEmpty()) {
        QWebEngineScript style;
        style.setName(kHostStyleScript);
        style.setInjectionPoint(QWebEngineScript::DocumentReady);
        style.setWorldId(QWebEngineScript::ApplicationWorld);
        const QString text = QString::fromUtf8(QJsonDocument::fromVariant(QVariantList{css}).toJson(QJsonDocument::Compact));
        style.setSourceCode(QStringLiteral("(function(){var s=document.createElement('style');s.textContent=%1[0];"
                                           "(document.head||document.documentElement).appendChild(s);})();")
                                .arg(text));
        scripts.insert(style);
    }
}

void WebPane::AmbientPropertyChanged(int) { ApplySettings(); }

void WebPane::SetRegisterAsDropTarget(bool registered)
{
    if (page_)
        page_->settings()->setAttribute(QWebEngineSettings::NavigateOnDropEnabled, registered);
}

bool WebPane::Navigate(const QString& url, quint32 timeOut)
{
    const QUrl address(url, QUrl::StrictMode);
    if (url.isEmpty() || !address.isValid() || address.scheme().isEmpty())
        throw Exception("The address was rejected: " + url.toLocal8Bit().toStdString());
    complete_ = false;
    ApplySettings();
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
    // The pane's own record of its visibility follows every show and hide.
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

bool WebPane::HasInnerWindows() const
{
    return !view_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly).isEmpty();
}

void WebPane::SubclassInnerWindows()
{
    for (QWidget* inner : view_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        inner->installEventFilter(this);
}

bool WebPane::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::ChildAdded:
        // The engine's inner widget comes and goes with the page.
        if (watched == view_ && static_cast<QChildEvent*>(event)->child()->isWidgetType())
            RunHandler([this] { Exec(&CGID_Explorer, CMD_INNER_WINDOWS, 0, QVariant(), nullptr); });
        break;
    case QEvent::FocusIn:
        // Focus arriving in the page makes the pane its window's active control.
        if (watched != view_ && window() != this && CanFocus())
            ActiveControl::Set(window(), this);
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        if (watched != view_ && FilterKey(event))
            return true;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool WebPane::FilterKey(QEvent* event)
{
    const KeyMessage msg = KeyMessage::FromEvent(*static_cast<QKeyEvent*>(event));
    bool swallow = false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Keeps the program's own shortcuts from acting on the key too; the key press that
        // follows asks the handlers.
        swallow = IsShortcutDisabled(msg);
    } else {
        RunHandler([&] { swallow = TranslateAccelerator(msg, nullptr, 0) == S_OK; });
    }
    if (swallow)
        event->accept();
    return swallow;
}

void WebPane::PageScriptError(const QString& message, int line, const QString& source)
{
    const QVariantMap details{{QStringLiteral("errorline"), line},
                              {QStringLiteral("errorMessage"), message},
                              {QStringLiteral("errorUrl"), source}};
    QVariant goOn;
    HResult answer = S_FALSE;
    RunHandler([&] { answer = Exec(&CGID_DocHostCommandHandler, OLECMDID_SHOWSCRIPTERROR, 0, details, &goOn); });
    if (answer == S_OK) {
        if (!goOn.toBool())
            page_->StopScripts();
        return;
    }
    // The user decides, once the engine's report is through; errors that come while the
    // question is open go on.
    if (askingAboutScript_)
        return;
    askingAboutScript_ = true;
    QTimer::singleShot(0, this, [this, message, line, source] {
        const QPointer<WebPane> self(this);
        // On the heap: the pane, and the box with it, may go while the question is open.
        const QPointer<QMessageBox> box =
            new QMessageBox(QMessageBox::Warning, tr("Script Error"),
                            tr("An error has occurred in the script on this page.\n\nLine: %1\nError: %2\nURL: "
                               "%3\n\nDo you want to continue running scripts on this page?")
                                .arg(line)
                                .arg(message, source),
                            QMessageBox::Yes | QMessageBox::No, this);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Yes);
        const int answer = box->exec();
        if (!self)
            return;
        delete box.data();
        askingAboutScript_ = false;
        if (answer == QMessageBox::No)
            page_->StopScripts();
    });
}

unsigned WebPane::ContextMenuKind() const
{
    const QWebEngineContextMenuRequest* request = view_->lastContextMenuRequest();
    if (!request)
        return static_cast<unsigned>(PopupMenuKind::rcmDefault);
    PopupMenuKind kind = PopupMenuKind::rcmDefault;
    if (!request->linkUrl().isEmpty())
        kind = PopupMenuKind::rcmAnchor;
    else if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeImage ||
             request->mediaType() == QWebEngineContextMenuRequest::MediaTypeCanvas)
        kind = PopupMenuKind::rcmImage;
    else if (request->mediaType() == QWebEngineContextMenuRequest::MediaTypeVideo ||
             request->mediaType() == QWebEngineContextMenuRequest::MediaTypeAudio)
        kind = PopupMenuKind::rcmImgDynSrc;
    else if (request->mediaType() != QWebEngineContextMenuRequest::MediaTypeNone)
        kind = PopupMenuKind::rcmUnKnown;
    else if (request->isContentEditable())
        kind = PopupMenuKind::rcmControl;
    else if (!request->selectedText().isEmpty())
        kind = PopupMenuKind::rcmSelText;
    return static_cast<unsigned>(kind);
}

QMenu* WebPane::StandardMenu()
{
    QMenu* menu = view_->createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Page source and the inspector would need a window of ours.
    menu->removeAction(page_->action(QWebEnginePage::ViewSource));
    menu->removeAction(page_->action(QWebEnginePage::InspectElement));
    TidySeparators(menu);
    return menu;
}

void WebPane::PageContextMenu(const QPoint& pos)
{
    const QPoint global = view_->mapToGlobal(pos);
    HResult answer = S_FALSE;
    RunHandler([&] { answer = ShowContextMenu(ContextMenuKind(), global); });
    if (answer == S_FALSE)
        StandardMenu()->popup(global);
}

bool WebPane::ShowPopupMenu(QPoint)
{
    if (!PopupMenu)
        return false;
    PopupMenu->popup(QCursor::pos());
    return true;
}

bool WebPane::ShowHostMenu(unsigned, QPoint ppt)
{
    QMenu* menu = StandardMenu();
    std::vector<unsigned> commands;
    std::vector<std::pair<QAction*, unsigned>> items;
    for (const QWebEnginePage::WebAction action : kMenuActions) {
        QAction* item = page_->action(action);
        if (menu->actions().contains(item)) {
            items.emplace_back(item, MenuCommandOf(action));
            commands.push_back(MenuCommandOf(action));
        }
    }
    FilterContextMenu(commands);
    for (const auto& [action, command] : items)
        if (std::find(commands.begin(), commands.end(), command) == commands.end())
            menu->removeAction(action);
    TidySeparators(menu);
    if (menu->isEmpty()) {
        delete menu;
        return true;
    }
    menu->popup(ppt);
    return true;
}

void WebPane::DownloadRequested(QWebEngineDownloadRequest* download)
{
    if (!page_ || download->page() != page_ || download->state() != QWebEngineDownloadRequest::DownloadRequested)
        return;
    HResult managed = E_NOTIMPL;
    RunHandler([&] {
        if (FindService(SID_SDownloadManager, IID_IDownloadManager))
            managed = Download(download->url().toString());
    });
    // The host's download manager took the file over.
    if (managed == S_OK) {
        download->cancel();
        return;
    }
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
