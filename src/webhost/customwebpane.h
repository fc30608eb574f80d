#pragma once

#include "webhost/guid.h"
#include "webhost/hostoptions.h"
#include "webhost/hostresult.h"
#include "webhost/keymessage.h"

#include <QPoint>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

class QObject;
class QWidget;

namespace quorvel {

// What a pane tells the browser about laying out its pages.
struct DocHostUIInfo {
    std::uint32_t cbSize = 0;
    std::uint32_t dwFlags = 0;
    std::uint32_t dwDoubleClick = 0;
    std::optional<QString> pchHostCss;
    std::optional<QString> pchHostNS;
};

// How a failure inside an ambient-property answer reaches the browser.
struct ExcepInfo {
    std::uint16_t wCode = 0;
    QString bstrSource;
    QString bstrDescription;
    std::uint32_t dwHelpContext = 0;
};

// Which errors of its pages the pane keeps from the user.
struct DisableErrorsOptions {
    bool EnableDDE = true;
    // Pages run with the floating-point environment the program started with.
    bool fpExceptions = true;
    bool ScriptErrorsSuppressed = true;
};

// How the dialog guard treats the program's dialogs.
struct DialogBoxesOptions {
    bool DisableAll = false;
    bool ReplaceCaption = true;
    bool ReplaceIcon = true;
    QString NewCaption;
};

// The host side of a web pane: every answer the pane gives its browser, as plain values. With
// no handler assigned each answer is a fixed one; a handler property may change it. The pane
// on the screen (WebPane) derives from this and turns the answers into the engine's settings.
class CustomWebPane {
public:
    // Host commands the browser sends.
    static constexpr unsigned OLECMDID_SHOWSCRIPTERROR = 40;
    static constexpr unsigned IDM_REFRESH = 2300;
    static constexpr unsigned IDM_REFRESH_TOP = 6041;
    static constexpr unsigned IDM_REFRESH_TOP_FULL = 6042;
    static constexpr unsigned CMD_UNLOAD = 37;
    static constexpr unsigned CMD_INNER_WINDOWS = 39;
    // Ambient properties the browser reads.
    static constexpr int DISPID_AMBIENT_DLCONTROL = -5512;
    static constexpr int DISPID_AMBIENT_USERAGENT = -5513;
    static constexpr int DISPID_AMBIENT_USERMODE = -709;
    static constexpr unsigned DISPATCH_PROPERTYGET = 2;
    // The browser's numbers for the menus of scroll bars start here.
    static constexpr unsigned FirstScrollBarMenu = 10;

    CustomWebPane();
    virtual ~CustomWebPane();
    CustomWebPane(const CustomWebPane&) = delete;
    CustomWebPane& operator=(const CustomWebPane&) = delete;

    // --- The option sets and their flag words.
    const UserInterfaceOptionSet& UserInterfaceOptions() const { return userInterfaceOptions_; }
    void SetUserInterfaceOptions(UserInterfaceOptionSet options);
    const DownloadOptionSet& DownloadOptions() const { return downloadOptions_; }
    void SetDownloadOptions(DownloadOptionSet options);
    std::uint32_t HostUIFlags() const { return hostUIFlags_; }
    std::uint32_t DownloadControlFlags() const { return downloadControlFlags_; }

    // Ctrl shortcuts the pages do not get, as the virtual-key codes of their keys ("N": the
    // N key). Compared byte by byte: a lower-case letter is no key's code.
    const QString& DisableCtrlShortcuts() const { return disableCtrlShortcuts_; }
    void SetDisableCtrlShortcuts(const QString& keys) { disableCtrlShortcuts_ = keys; }

    bool FocusChangeAllowed = true;
    ErrorAction ScriptErrorAction = ErrorAction::eaContinue;
    DropHandling DropHandlingType = DropHandling::ddtMS;
    PopupMenuKindSet DisabledPopupMenus;
    PopupMenuItemSet DisabledPopupMenuItems;
    QString UserAgent;
    AgentMode UserAgentMode = AgentMode::uaDefault;
    QString OptionKeyPath;
    bool OverrideOptionKeyPath = false;
    QString HostCSS;
    QString HostNS;
    bool FloatingHosting = false;
    DisableErrorsOptions DisableErrors;
    DialogBoxesOptions DialogBoxes;

    // --- Handler properties. Each may change the answer it belongs to.
    std::function<void(CustomWebPane& sender, char key)> OnMaskedCtrlChar;
    std::function<void(CustomWebPane& sender, const KeyMessage& msg, bool& handled, const Guid* group, unsigned cmdID)>
        OnTranslateAccelerator;
    std::function<void(CustomWebPane& sender, unsigned dwID, HResult& answer, QPoint ppt)> OnShowContextMenu;
    std::function<void(CustomWebPane& sender, std::vector<unsigned>& menuCommands)> OnFilterPopupMenu;
    std::function<void(CustomWebPane& sender, DocHostUIInfo& info)> OnGetHostInfo;
    std::function<void(CustomWebPane& sender, QObject*& external)> OnGetExternal;
    std::function<void(CustomWebPane& sender, const QString& url, QString& newUrl)> OnTranslateUrl;
    std::function<void(CustomWebPane& sender, void*& dropTarget)> OnGetDropTarget;
    std::function<HResult(CustomWebPane& sender, const QString& text, const QString& caption, unsigned type,
                          int& result)>
        OnShowMessage;
    std::function<void(CustomWebPane& sender, bool& allow)> OnAllowFocusChange;
    std::function<void(CustomWebPane& sender, const QString& url, unsigned flags, HResult& result)> OnEvaluateNewWindow;
    std::function<void(CustomWebPane& sender, const QString& url, HResult& result)> OnFileDownload;
    std::function<void(CustomWebPane& sender)> OnPopulateNSTable;
    std::function<void(CustomWebPane& sender, int x, int y)> OnMove;
    std::function<void(CustomWebPane& sender, int dx, int dy)> OnMoveBy;
    std::function<void(CustomWebPane& sender, int width, int height)> OnResize;
    std::function<void(CustomWebPane& sender, int dx, int dy)> OnResizeBy;
    std::function<void(CustomWebPane& sender, QString& userName, QString& password, HResult& result)> OnAuthenticate;
    std::function<void(CustomWebPane& sender, const Guid& service, const Guid& iid, void*& object)> OnQueryService;
    std::function<void(CustomWebPane& sender)> OnUnload;
    std::function<void(CustomWebPane& sender, unsigned cmdID, bool& cancel)> OnRefresh;
    std::function<void(CustomWebPane& sender, const Guid* group, HResult& answer, const QVariant& in, QVariant* out,
                       unsigned cmdexecopt, unsigned cmdID)>
        OnCommandExec;
    std::function<void(CustomWebPane& sender, const QString& line, const QString& character, const QString& code,
                       const QString& message, const QString& url, ErrorAction& action)>
        OnScriptError;
    std::function<void(CustomWebPane& sender, int dispId, unsigned flags, QVariant* result, HResult& answer)> OnInvoke;
    // A dialog takes the activation from the window the pane guards (see DialogGuard).
    std::function<void(CustomWebPane& sender, QWidget* dialog, bool& disableAll, QString& newCaption,
                       const QString& caption)>
        OnShowDialog;

    // --- The five virtual operations.
    // The Ctrl-shortcut filter: a key down with Ctrl held and Shift not (Alt is not looked at),
    // whose virtual-key code is one of DisableCtrlShortcuts.
    virtual bool IsShortcutDisabled(const KeyMessage& msg) const;
    // The answer to a script error, by ScriptErrorAction: pvaIn carries the error's details
    // ("errorline", "errorCharacter", "errorCode", "errorMessage", "errorUrl"), pvaOut gets
    // whether scripts go on.
    virtual HResult HandleScriptError(const QVariant& pvaIn, QVariant* pvaOut);
    // Whether the pane offers a service.
    virtual bool FindService(const Guid& service, const Guid& iid) const;
    // Whether the pane builds the browser's context menu itself.
    virtual bool WantsCustomContextMenu() const;
    // Last changes to a host-built menu, given as its command numbers.
    virtual void FilterContextMenu(std::vector<unsigned>& menuCommands);

    // --- The answers.
    HResult QueryInterface(const Guid& iid, void** object);
    HResult QueryService(const Guid& service, const Guid& iid, void** object);
    HResult AllowFocusChange(bool* allow);
    HResult ShowContextMenu(unsigned dwID, QPoint ppt);
    HResult GetHostInfo(DocHostUIInfo* info);
    HResult TranslateAccelerator(const KeyMessage& msg, const Guid* group, unsigned cmdID);
    HResult GetOptionKeyPath(std::optional<QString>* key, unsigned dw);
    HResult GetOverrideKeyPath(std::optional<QString>* key, unsigned dw);
    HResult GetDropTarget(void* dropTarget, void** result);
    HResult GetExternal(QObject** external);
    HResult TranslateUrl(unsigned translate, const QString& urlIn, std::optional<QString>* urlOut);
    HResult ShowMessage(const QString& text, const QString& caption, unsigned type, int* result);
    HResult EvaluateNewWindow(const QString& url, unsigned flags);
    HResult Download(const QString& url);
    HResult Authenticate(std::optional<QString>* userName, std::optional<QString>* password);
    HResult QueryStatus() const { return S_OK; }
    HResult Exec(const Guid* group, unsigned cmdID, unsigned cmdexecopt, const QVariant& in, QVariant* out);
    // The ambient properties: download control, user agent, user mode.
    HResult Invoke(int dispId, unsigned flags, QVariant* result, ExcepInfo* excepInfo);

protected:
    // What the pane on the screen does with the answers. Here: nothing is there to act on.
    // The browser should read its ambient settings again.
    virtual void AmbientPropertyChanged(int dispId);
    // Shows the pane's own popup menu in place of a suppressed one; false when it has none.
    virtual bool ShowPopupMenu(QPoint ppt);
    // Builds, filters and shows the browser's menu of that kind itself; false when it cannot.
    virtual bool ShowHostMenu(unsigned dwID, QPoint ppt);
    // Whether pages may take what is dropped on them.
    virtual void SetRegisterAsDropTarget(bool registered);
    // The browser's inner windows exist, and are to be watched for focus (host command 39).
    virtual bool HasInnerWindows() const;
    virtual void SubclassInnerWindows();

private:
    bool IsMenuDisabled(unsigned dwID) const;
    HResult InvokeAmbient(int dispId, unsigned flags, QVariant* result);
    HResult KeyPath(bool override, std::optional<QString>* key) const;

    UserInterfaceOptionSet userInterfaceOptions_;
    DownloadOptionSet downloadOptions_;
    std::uint32_t hostUIFlags_ = 0;
    std::uint32_t downloadControlFlags_ = 0;
    QString disableCtrlShortcuts_;
};

} // namespace quorvel
