#include "webhost/customwebpane.h"

#include <QVariantMap>
#include <cxxabi.h>
#include <cstdlib>
#include <exception>
#include <typeinfo>

namespace quorvel {
namespace {

// Every interface the pane gives its browser; one object answers them all.
constexpr Guid kInterfaces[] = {
    IID_IUnknown,          IID_IDocHostUIHandler, IID_IDocHostUIHandler2,     IID_IDocHostShowUI,
    IID_IOleCommandTarget, IID_IServiceProvider,  IID_IProtectFocus,          IID_INewWindowManager,
    IID_IDownloadManager,  IID_IHostBehaviorInit, IID_IHTMLOMWindowServices,  IID_IAuthenticate,
    IID_IZoomEvents,       IID_IDropTarget,
};

// The error's class as its source: the name without its namespace.
QString ClassNameOf(const std::exception& e)
{
    const char* raw = typeid(e).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(raw, nullptr, nullptr, &status);
    QString name = QString::fromLatin1(status == 0 && demangled ? demangled : raw);
    std::free(demangled);
    const qsizetype colon = name.lastIndexOf(QLatin1String("::"));
    return colon < 0 ? name : name.mid(colon + 2);
}

// One detail of a script error, as the error event gives it.
QString ErrorDetail(const QVariantMap& event, const char* name)
{
    const auto it = event.constFind(QLatin1String(name));
    if (it == event.constEnd())
        return QStringLiteral("'%1' is not supported.").arg(QLatin1String(name));
    return it->toString();
}

} // namespace

CustomWebPane::CustomWebPane()
{
    SetDownloadOptions({DownloadOption::DownloadImages, DownloadOption::DownloadVideos, DownloadOption::DownloadBGSounds});
    SetUserInterfaceOptions({UserInterfaceOption::EnablesFormsAutoComplete, UserInterfaceOption::EnableThemes});
    disableCtrlShortcuts_ = QStringLiteral("N");
}

CustomWebPane::~CustomWebPane() = default;

void CustomWebPane::SetUserInterfaceOptions(UserInterfaceOptionSet options)
{
    userInterfaceOptions_ = options;
    hostUIFlags_ = HostUIFlagsOf(options);
    // The browser reads the layout flags with its download settings: one notice serves both.
    AmbientPropertyChanged(DISPID_AMBIENT_DLCONTROL);
}

void CustomWebPane::SetDownloadOptions(DownloadOptionSet options)
{
    downloadOptions_ = options;
    downloadControlFlags_ = DownloadControlFlagsOf(options);
    AmbientPropertyChanged(DISPID_AMBIENT_DLCONTROL);
}

bool CustomWebPane::IsShortcutDisabled(const KeyMessage& msg) const
{
    if (disableCtrlShortcuts_.isEmpty() || msg.message != KeyMessage::WM_KEYDOWN || !msg.ctrl || msg.shift)
        return false;
    const auto key = static_cast<unsigned char>(msg.virtualKey & 0xFF);
    if (key == 0)
        return false;
    const QByteArray keys = disableCtrlShortcuts_.toLatin1();
    return keys.contains(static_cast<char>(key));
}

HResult CustomWebPane::TranslateAccelerator(const KeyMessage& msg, const Guid* group, unsigned cmdID)
{
    if (IsShortcutDisabled(msg)) {
        if (OnMaskedCtrlChar)
            OnMaskedCtrlChar(*this, static_cast<char>(msg.virtualKey & 0xFF));
        return S_OK;
    }
    bool handled = false;
    if (OnTranslateAccelerator)
        OnTranslateAccelerator(*this, msg, handled, group, cmdID);
    return handled ? S_OK : S_FALSE;
}

HResult CustomWebPane::HandleScriptError(const QVariant& pvaIn, QVariant* pvaOut)
{
    // The answer is settled first: a handler's change of the action counts from the next error.
    HResult answer = S_FALSE;
    switch (ScriptErrorAction) {
    case ErrorAction::eaContinue:
        if (pvaOut)
            *pvaOut = true;
        answer = S_OK;
        break;
    case ErrorAction::eaCancel:
        if (pvaOut)
            *pvaOut = false;
        answer = S_OK;
        break;
    case ErrorAction::eaAskUser:
        break;
    }
    if (OnScriptError) {
        const QVariantMap event = pvaIn.toMap();
        OnScriptError(*this, ErrorDetail(event, "errorline"), ErrorDetail(event, "errorCharacter"),
                      ErrorDetail(event, "errorCode"), ErrorDetail(event, "errorMessage"),
                      ErrorDetail(event, "errorUrl"), ScriptErrorAction);
    }
    return answer;
}

bool CustomWebPane::FindService(const Guid& service, const Guid& iid) const
{
    if (service == SID_SNewWindowManager)
        return static_cast<bool>(OnEvaluateNewWindow);
    if (service == SID_SProtectFocus)
        return true;
    if (service == SID_SDownloadManager)
        return static_cast<bool>(OnFileDownload);
    if (service == SID_SHostBehaviorInit)
        return static_cast<bool>(OnPopulateNSTable);
    if (service == SID_SHTMLOMWindowServices)
        return FloatingHosting || OnMove || OnMoveBy || OnResize || OnResizeBy;
    if (iid == IID_IAuthenticate)
        return static_cast<bool>(OnAuthenticate);
    return false;
}

bool CustomWebPane::WantsCustomContextMenu() const { return OnFilterPopupMenu || !DisabledPopupMenuItems.Empty(); }

void CustomWebPane::FilterContextMenu(std::vector<unsigned>& menuCommands)
{
    if (OnFilterPopupMenu)
        OnFilterPopupMenu(*this, menuCommands);
    for (unsigned i = 0; i < PopupMenuItemCount; ++i) {
        const auto item = static_cast<PopupMenuItem>(i);
        if (!DisabledPopupMenuItems.Contains(item))
            continue;
        const unsigned command = PopupMenuCommand(item);
        std::erase(menuCommands, command);
    }
}

HResult CustomWebPane::QueryInterface(const Guid& iid, void** object)
{
    if (!object)
        return E_NOINTERFACE;
    *object = nullptr;
    for (const Guid& known : kInterfaces)
        if (known == iid) {
            *object = this;
            return S_OK;
        }
    return E_NOINTERFACE;
}

HResult CustomWebPane::QueryService(const Guid& service, const Guid& iid, void** object)
{
    if (!object)
        return E_NOINTERFACE;
    *object = nullptr;
    if (FindService(service, iid))
        QueryInterface(iid, object);
    else if (OnQueryService)
        OnQueryService(*this, service, iid, *object);
    return *object ? S_OK : E_NOINTERFACE;
}

HResult CustomWebPane::AllowFocusChange(bool* allow)
{
    bool answer = FocusChangeAllowed;
    if (OnAllowFocusChange)
        OnAllowFocusChange(*this, answer);
    if (allow)
        *allow = answer;
    return S_OK;
}

bool CustomWebPane::IsMenuDisabled(unsigned dwID) const
{
    if (DisabledPopupMenus.Contains(PopupMenuKind::rcmAll))
        return true;
    return dwID < FirstScrollBarMenu && DisabledPopupMenus.Contains(static_cast<PopupMenuKind>(dwID));
}

HResult CustomWebPane::ShowContextMenu(unsigned dwID, QPoint ppt)
{
    HResult answer = E_NOTIMPL;
    if (OnShowContextMenu)
        OnShowContextMenu(*this, dwID, answer, ppt);
    if (answer != E_NOTIMPL)
        return answer;
    if (IsMenuDisabled(dwID)) {
        ShowPopupMenu(ppt);
        return S_OK;
    }
    if (WantsCustomContextMenu())
        return ShowHostMenu(dwID, ppt) ? S_OK : S_FALSE;
    return S_FALSE;
}

HResult CustomWebPane::GetHostInfo(DocHostUIInfo* info)
{
    if (!info)
        return E_FAIL;
    *info = DocHostUIInfo{};
    info->cbSize = 20;
    info->dwFlags = hostUIFlags_;
    info->dwDoubleClick = 0;
    if (OnGetHostInfo)
        OnGetHostInfo(*this, *info);
    if (!info->pchHostCss && !HostCSS.isEmpty())
        info->pchHostCss = HostCSS;
    if (!info->pchHostNS && !HostNS.isEmpty())
        info->pchHostNS = HostNS;
    return S_OK;
}

HResult CustomWebPane::KeyPath(bool override, std::optional<QString>* key) const
{
    if (key)
        key->reset();
    if (OptionKeyPath.isEmpty() || OverrideOptionKeyPath != override)
        return S_FALSE;
    if (key)
        *key = OptionKeyPath;
    return S_OK;
}

HResult CustomWebPane::GetOptionKeyPath(std::optional<QString>* key, unsigned) { return KeyPath(false, key); }

HResult CustomWebPane::GetOverrideKeyPath(std::optional<QString>* key, unsigned) { return KeyPath(true, key); }

HResult CustomWebPane::GetDropTarget(void*, void** result)
{
    if (result)
        *result = nullptr;
    try {
        switch (DropHandlingType) {
        case DropHandling::ddtMS:
            SetRegisterAsDropTarget(true);
            return E_NOTIMPL;
        case DropHandling::ddtMy:
            if (result)
                *result = this;
            return S_OK;
        case DropHandling::ddtCustom: {
            void* target = this;
            if (OnGetDropTarget)
                OnGetDropTarget(*this, target);
            if (result)
                *result = target;
            return S_OK;
        }
        case DropHandling::ddtNo:
            SetRegisterAsDropTarget(false);
            return S_OK;
        }
    } catch (const std::exception&) {
        // The browser keeps what it had; nothing escapes into it.
        return E_FAIL;
    }
    return E_FAIL;
}

HResult CustomWebPane::GetExternal(QObject** external)
{
    QObject* object = nullptr;
    if (OnGetExternal)
        OnGetExternal(*this, object);
    if (external)
        *external = object;
    return object ? S_OK : S_FALSE;
}

HResult CustomWebPane::TranslateUrl(unsigned, const QString& urlIn, std::optional<QString>* urlOut)
{
    QString newUrl;
    if (OnTranslateUrl)
        OnTranslateUrl(*this, urlIn, newUrl);
    if (newUrl.isEmpty())
        return S_FALSE;
    if (urlOut)
        *urlOut = newUrl;
    return S_OK;
}

HResult CustomWebPane::ShowMessage(const QString& text, const QString& caption, unsigned type, int* result)
{
    if (!OnShowMessage)
        return S_FALSE;
    int value = 0;
    const HResult answer = OnShowMessage(*this, text, caption, type, value);
    if (result)
        *result = value;
    return answer;
}

HResult CustomWebPane::EvaluateNewWindow(const QString& url, unsigned flags)
{
    HResult result = E_FAIL;
    if (OnEvaluateNewWindow)
        OnEvaluateNewWindow(*this, url, flags, result);
    return result;
}

HResult CustomWebPane::Download(const QString& url)
{
    HResult result = E_NOTIMPL;
    if (OnFileDownload)
        OnFileDownload(*this, url, result);
    return result;
}

HResult CustomWebPane::Authenticate(std::optional<QString>* userName, std::optional<QString>* password)
{
    QString user;
    QString pass;
    HResult result = S_OK;
    if (OnAuthenticate)
        OnAuthenticate(*this, user, pass, result);
    if (userName)
        *userName = user.isEmpty() ? std::nullopt : std::optional<QString>(user);
    if (password)
        *password = pass.isEmpty() ? std::nullopt : std::optional<QString>(pass);
    return result;
}

HResult CustomWebPane::Exec(const Guid* group, unsigned cmdID, unsigned cmdexecopt, const QVariant& in, QVariant* out)
{
    HResult answer = OLECMDERR_E_NOTSUPPORTED;
    if (group && *group == CGID_Explorer) {
        if (cmdID == CMD_UNLOAD && OnUnload) {
            OnUnload(*this);
            return S_OK;
        }
        if (cmdID == CMD_INNER_WINDOWS && HasInnerWindows())
            SubclassInnerWindows();
    } else if (group && *group == CGID_DocHostCommandHandler) {
        if (cmdID == OLECMDID_SHOWSCRIPTERROR)
            return HandleScriptError(in, out);
        if (cmdID == IDM_REFRESH || cmdID == IDM_REFRESH_TOP || cmdID == IDM_REFRESH_TOP_FULL) {
            if (!OnRefresh)
                return OLECMDERR_E_NOTSUPPORTED;
            bool cancel = false;
            OnRefresh(*this, cmdID, cancel);
            return cancel ? S_OK : OLECMDERR_E_NOTSUPPORTED;
        }
    }
    if (OnCommandExec)
        OnCommandExec(*this, group, answer, in, out, cmdexecopt, cmdID);
    return answer;
}

HResult CustomWebPane::InvokeAmbient(int dispId, unsigned flags, QVariant* result)
{
    if ((flags & DISPATCH_PROPERTYGET) && result) {
        switch (dispId) {
        case DISPID_AMBIENT_DLCONTROL:
            *result = static_cast<qint32>(downloadControlFlags_);
            return S_OK;
        case DISPID_AMBIENT_USERAGENT:
            if (UserAgentMode == AgentMode::uaInternal && !UserAgent.isEmpty()) {
                *result = UserAgent + QStringLiteral("\r\n");
                return S_OK;
            }
            break;
        case DISPID_AMBIENT_USERMODE:
            *result = true;
            return S_OK;
        default:
            break;
        }
    }
    // The container knows no other ambient property of its own.
    HResult answer = DISP_E_MEMBERNOTFOUND;
    if (OnInvoke)
        OnInvoke(*this, dispId, flags, result, answer);
    return answer;
}

HResult CustomWebPane::Invoke(int dispId, unsigned flags, QVariant* result, ExcepInfo* excepInfo)
{
    try {
        return InvokeAmbient(dispId, flags, result);
    } catch (const std::exception& e) {
        if (excepInfo) {
            *excepInfo = ExcepInfo{};
            excepInfo->wCode = 9999;
            excepInfo->bstrSource = ClassNameOf(e);
            excepInfo->bstrDescription = QString::fromLocal8Bit(e.what());
            excepInfo->dwHelpContext = 0;
        }
        return DISP_E_EXCEPTION;
    }
}

void CustomWebPane::AmbientPropertyChanged(int) {}

bool CustomWebPane::ShowPopupMenu(QPoint) { return false; }

bool CustomWebPane::ShowHostMenu(unsigned, QPoint) { return false; }

void CustomWebPane::SetRegisterAsDropTarget(bool) {}

bool CustomWebPane::HasInnerWindows() const { return false; }

void CustomWebPane::SubclassInnerWindows() {}

} // namespace quorvel
