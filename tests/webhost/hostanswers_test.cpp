// The answers a web pane gives its browser, without a browser.
#include "webhost/customwebpane.h"
#include "webhost/dialogguard.h"
#include "webhost/downloadcontrol.h"
#include "base/exception.h"
#include "webhost/keymessage.h"
#include "webhost/webpaneinterceptor.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

using namespace quorvel;

namespace {

KeyMessage KeyDown(unsigned vk, bool ctrl, bool shift = false, bool alt = false)
{
    KeyMessage m;
    m.message = alt && !ctrl ? KeyMessage::WM_SYSKEYDOWN : KeyMessage::WM_KEYDOWN;
    m.virtualKey = vk;
    m.ctrl = ctrl;
    m.shift = shift;
    m.alt = alt;
    return m;
}

} // namespace

TEST(HostOptions, EveryOptionHasItsFlagAndSetsAddUp)
{
    // Each table: one bit per option, all different, in element order; 0x8000 is skipped.
    std::uint32_t all = 0;
    std::uint32_t previous = 0;
    for (unsigned i = 0; i < UserInterfaceOptionCount; ++i) {
        const std::uint32_t flag = UserInterfaceFlag(static_cast<UserInterfaceOption>(i));
        EXPECT_EQ(flag & (flag - 1), 0u) << i;
        EXPECT_GT(flag, previous) << i;
        EXPECT_NE(flag, 0x8000u);
        previous = flag;
        all |= flag;
    }
    EXPECT_EQ(all, 0x3FFF7FFFu);
    EXPECT_EQ(UserInterfaceFlag(UserInterfaceOption::EnablesFormsAutoComplete), 0x4000u);
    EXPECT_EQ(UserInterfaceFlag(UserInterfaceOption::ForceSameWindowNavigation), 0x10000u);
    EXPECT_EQ(UserInterfaceFlag(UserInterfaceOption::ForceUserActivationOnActiveXJava), 0x20000000u);
    EXPECT_EQ(HostUIFlagsOf({}), 0u);
    EXPECT_EQ(HostUIFlagsOf({UserInterfaceOption::ForceSameWindowNavigation}), 0x10000u);

    all = 0;
    for (unsigned i = 0; i < DownloadOptionCount; ++i)
        all |= DownloadControlFlag(static_cast<DownloadOption>(i));
    EXPECT_EQ(all, 0xF007FFF0u);
    EXPECT_EQ(DownloadControlFlag(DownloadOption::EnableUrlIfEncodingUTF8), 0x40000u);
    EXPECT_EQ(DownloadControlFlag(DownloadOption::ForceOfflineMode), 0x10000000u);
    EXPECT_EQ(DownloadControlFlagsOf({DownloadOption::WorkOffline}), 0x80000000u);

    EXPECT_EQ(PopupMenuCommand(PopupMenuItem::rcsBack), 2282u);
    EXPECT_EQ(PopupMenuCommand(PopupMenuItem::rcsSelectAll), 31u);
    EXPECT_EQ(PopupMenuCommand(PopupMenuItem::rcsOpenLink), 2136u);
}

TEST(CustomWebPane, CreationAndWindowSettingsGiveTheirFlagWords)
{
    CustomWebPane pane;
    EXPECT_EQ(pane.HostUIFlags(), 0x44000u);
    EXPECT_EQ(pane.DownloadControlFlags(), 0x70u);
    EXPECT_EQ(pane.DisableCtrlShortcuts(), "N");
    EXPECT_TRUE(pane.FocusChangeAllowed);
    EXPECT_EQ(pane.ScriptErrorAction, ErrorAction::eaContinue);

    pane.SetUserInterfaceOptions({UserInterfaceOption::EnablesFormsAutoComplete, UserInterfaceOption::EnableThemes,
                                  UserInterfaceOption::DisableFrameSetBorder});
    EXPECT_EQ(pane.HostUIFlags(), 0x244000u);
    DocHostUIInfo info;
    info.dwDoubleClick = 7;
    info.pchHostCss = QStringLiteral("left over");
    ASSERT_EQ(pane.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.cbSize, 20u);
    EXPECT_EQ(info.dwFlags, 0x244000u);
    EXPECT_EQ(info.dwDoubleClick, 0u);
    EXPECT_FALSE(info.pchHostCss);
    EXPECT_FALSE(info.pchHostNS);

    // A handler's style sheet stands; the pane's fills only what is still empty.
    pane.HostCSS = QStringLiteral("body{}");
    pane.HostNS = QStringLiteral("ns");
    pane.OnGetHostInfo = [](CustomWebPane&, DocHostUIInfo& i) {
        i.pchHostCss = QStringLiteral("handler");
        i.dwFlags |= 0x8;
    };
    ASSERT_EQ(pane.GetHostInfo(&info), S_OK);
    EXPECT_EQ(info.pchHostCss, QStringLiteral("handler"));
    EXPECT_EQ(info.pchHostNS, QStringLiteral("ns"));
    EXPECT_EQ(info.dwFlags, 0x244008u);
}

TEST(CustomWebPane, ShortcutFilterBlocksCtrlNOnly)
{
    CustomWebPane pane;
    int masked = 0;
    pane.OnMaskedCtrlChar = [&](CustomWebPane&, char key) {
        EXPECT_EQ(key, 'N');
        ++masked;
    };
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown('N', true), nullptr, 0), S_OK);
    // Alt is not looked at: Ctrl+Alt+N is Ctrl+N.
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown('N', true, false, true), nullptr, 0), S_OK);
    EXPECT_EQ(masked, 2);
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown('N', true, true), nullptr, 0), S_FALSE);
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown('N', false, false, true), nullptr, 0), S_FALSE);
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown('N', false), nullptr, 0), S_FALSE);
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown('M', true), nullptr, 0), S_FALSE);
    KeyMessage up = KeyDown('N', true);
    up.message = KeyMessage::WM_KEYUP;
    EXPECT_EQ(pane.TranslateAccelerator(up, nullptr, 0), S_FALSE);
    EXPECT_EQ(masked, 2);

    // Key codes are upper-case letters: a lower-case entry is no key.
    pane.SetDisableCtrlShortcuts(QStringLiteral("n"));
    EXPECT_FALSE(pane.IsShortcutDisabled(KeyDown('N', true)));
    pane.SetDisableCtrlShortcuts(QString());
    EXPECT_FALSE(pane.IsShortcutDisabled(KeyDown('N', true)));
    // A key without a code never matches, whatever the list holds.
    pane.SetDisableCtrlShortcuts(QStringLiteral("NP"));
    EXPECT_FALSE(pane.IsShortcutDisabled(KeyDown(0, true)));
    EXPECT_TRUE(pane.IsShortcutDisabled(KeyDown('P', true)));

    // A handler may claim any other key.
    pane.OnTranslateAccelerator = [](CustomWebPane&, const KeyMessage& m, bool& handled, const Guid*, unsigned) {
        handled = m.virtualKey == 0x74;
    };
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown(0x74, false), nullptr, 0), S_OK);
    EXPECT_EQ(pane.TranslateAccelerator(KeyDown(0x75, false), nullptr, 0), S_FALSE);
}

TEST(KeyMessage, ToolkitKeysBecomeKeyMessages)
{
    const QKeyEvent ctrlAltN(QEvent::KeyPress, Qt::Key_N, Qt::ControlModifier | Qt::AltModifier);
    KeyMessage m = KeyMessage::FromEvent(ctrlAltN);
    EXPECT_EQ(m.message, KeyMessage::WM_KEYDOWN);
    EXPECT_EQ(m.virtualKey, unsigned('N'));
    EXPECT_TRUE(m.ctrl && m.alt && !m.shift);

    const QKeyEvent altN(QEvent::KeyPress, Qt::Key_N, Qt::AltModifier);
    EXPECT_EQ(KeyMessage::FromEvent(altN).message, KeyMessage::WM_SYSKEYDOWN);
    const QKeyEvent f10(QEvent::KeyPress, Qt::Key_F10, Qt::NoModifier);
    EXPECT_EQ(KeyMessage::FromEvent(f10).message, KeyMessage::WM_SYSKEYDOWN);
    EXPECT_EQ(KeyMessage::FromEvent(f10).virtualKey, 0x79u);
    const QKeyEvent release(QEvent::KeyRelease, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(KeyMessage::FromEvent(release).message, KeyMessage::WM_KEYUP);
    const QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(KeyMessage::FromEvent(override).message, KeyMessage::WM_KEYDOWN);
    EXPECT_TRUE(KeyMessage::FromEvent(override).shift);

    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_A), 0x41u);
    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_9), 0x39u);
    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_F24), 0x87u);
    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_Return), 0x0Du);
    // Shifted punctuation is the key it sits on.
    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_Exclam), 0x31u);
    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_Question), 0xBFu);
    EXPECT_EQ(KeyMessage::VirtualKeyOf(Qt::Key_Eacute), 0u);
}

TEST(CustomWebPane, ScriptErrorsAnswerByTheirAction)
{
    CustomWebPane pane;
    const QVariantMap details{{"errorline", 3}, {"errorMessage", "Uncaught oops"}, {"errorUrl", "file:///p.dat"}};
    QVariant out;
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 40, 0, details, &out), S_OK);
    EXPECT_EQ(out, QVariant(true));

    pane.ScriptErrorAction = ErrorAction::eaCancel;
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 40, 0, details, &out), S_OK);
    EXPECT_EQ(out, QVariant(false));

    pane.ScriptErrorAction = ErrorAction::eaAskUser;
    out = QStringLiteral("untouched");
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 40, 0, details, &out), S_FALSE);
    EXPECT_EQ(out, QVariant(QStringLiteral("untouched")));

    // The handler sees the details; what the error does not carry is named as unsupported. Its
    // change of the action counts from the next error on.
    QStringList seen;
    pane.ScriptErrorAction = ErrorAction::eaContinue;
    pane.OnScriptError = [&](CustomWebPane&, const QString& line, const QString& character, const QString& code,
                             const QString& message, const QString& url, ErrorAction& action) {
        seen = {line, character, code, message, url};
        action = ErrorAction::eaCancel;
    };
    EXPECT_EQ(pane.HandleScriptError(details, &out), S_OK);
    EXPECT_EQ(out, QVariant(true));
    EXPECT_EQ(seen, QStringList({"3", "'errorCharacter' is not supported.", "'errorCode' is not supported.",
                                 "Uncaught oops", "file:///p.dat"}));
    EXPECT_EQ(pane.HandleScriptError(details, &out), S_OK);
    EXPECT_EQ(out, QVariant(false));
}

TEST(CustomWebPane, HostCommandsGoToTheirGroups)
{
    CustomWebPane pane;
    // Unknown groups and commands, and no group at all: not supported.
    EXPECT_EQ(pane.Exec(nullptr, 40, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pane.Exec(&CGID_Explorer, 40, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 2300, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pane.Exec(&CGID_Explorer, 37, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pane.QueryStatus(), S_OK);

    int unloads = 0;
    pane.OnUnload = [&](CustomWebPane&) { ++unloads; };
    EXPECT_EQ(pane.Exec(&CGID_Explorer, 37, 0, {}, nullptr), S_OK);
    EXPECT_EQ(unloads, 1);

    std::vector<unsigned> refreshes;
    pane.OnRefresh = [&](CustomWebPane&, unsigned cmd, bool& cancel) {
        refreshes.push_back(cmd);
        cancel = cmd == 6042;
    };
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 2300, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 6041, 0, {}, nullptr), OLECMDERR_E_NOTSUPPORTED);
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 6042, 0, {}, nullptr), S_OK);
    EXPECT_EQ(refreshes, (std::vector<unsigned>{2300, 6041, 6042}));

    // The general handler sees the commands no group answers, and the script error never.
    std::vector<unsigned> general;
    pane.OnCommandExec = [&](CustomWebPane&, const Guid*, HResult& answer, const QVariant&, QVariant*, unsigned,
                             unsigned cmd) {
        general.push_back(cmd);
        answer = S_OK;
    };
    EXPECT_EQ(pane.Exec(nullptr, 5, 0, {}, nullptr), S_OK);
    EXPECT_EQ(pane.Exec(&CGID_Explorer, 39, 0, {}, nullptr), S_OK);
    QVariant out;
    EXPECT_EQ(pane.Exec(&CGID_DocHostCommandHandler, 40, 0, {}, &out), S_OK);
    EXPECT_EQ(general, (std::vector<unsigned>{5, 39}));
}

TEST(CustomWebPane, OnlyTheFocusServiceIsOffered)
{
    CustomWebPane pane;
    void* object = &pane;
    EXPECT_EQ(pane.QueryService(SID_SProtectFocus, IID_IProtectFocus, &object), S_OK);
    EXPECT_EQ(object, static_cast<void*>(&pane));
    // Offered, but not as an interface the pane has.
    const Guid other{0x12345678, 1, 2, {1, 2, 3, 4, 5, 6, 7, 8}};
    EXPECT_EQ(pane.QueryService(SID_SProtectFocus, other, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    for (const Guid& service : {SID_SNewWindowManager, SID_SDownloadManager, SID_SHostBehaviorInit,
                                SID_SHTMLOMWindowServices, other}) {
        object = &pane;
        EXPECT_EQ(pane.QueryService(service, service, &object), E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
    }
    object = &pane;
    EXPECT_EQ(pane.QueryService(other, IID_IAuthenticate, &object), E_NOINTERFACE);

    // Each handler brings its service.
    pane.OnEvaluateNewWindow = [](CustomWebPane&, const QString&, unsigned, HResult& r) { r = S_FALSE; };
    pane.OnAuthenticate = [](CustomWebPane&, QString& user, QString&, HResult&) { user = "me"; };
    pane.OnResizeBy = [](CustomWebPane&, int, int) {};
    EXPECT_TRUE(pane.FindService(SID_SNewWindowManager, IID_INewWindowManager));
    EXPECT_TRUE(pane.FindService(other, IID_IAuthenticate));
    EXPECT_TRUE(pane.FindService(SID_SHTMLOMWindowServices, IID_IHTMLOMWindowServices));
    EXPECT_FALSE(pane.FindService(SID_SDownloadManager, IID_IDownloadManager));
    EXPECT_EQ(pane.EvaluateNewWindow("http://x/", 0), S_FALSE);
    std::optional<QString> user;
    std::optional<QString> password = QStringLiteral("stale");
    EXPECT_EQ(pane.Authenticate(&user, &password), S_OK);
    EXPECT_EQ(user, QStringLiteral("me"));
    EXPECT_FALSE(password);

    // The rest of the world asks through its own handler.
    pane.OnQueryService = [&](CustomWebPane&, const Guid& service, const Guid&, void*& result) {
        if (service == other)
            result = &pane;
    };
    EXPECT_EQ(pane.QueryService(other, other, &object), S_OK);

    // Without handlers the new window and the download are the browser's.
    CustomWebPane plain;
    EXPECT_EQ(plain.EvaluateNewWindow("http://x/", 0), E_FAIL);
    EXPECT_EQ(plain.Download("http://x/f.zip"), E_NOTIMPL);
}

TEST(CustomWebPane, PagesMayMoveTheFocus)
{
    CustomWebPane pane;
    bool allow = false;
    EXPECT_EQ(pane.AllowFocusChange(&allow), S_OK);
    EXPECT_TRUE(allow);
    pane.FocusChangeAllowed = false;
    EXPECT_EQ(pane.AllowFocusChange(&allow), S_OK);
    EXPECT_FALSE(allow);
    pane.OnAllowFocusChange = [](CustomWebPane&, bool& a) { a = true; };
    EXPECT_EQ(pane.AllowFocusChange(&allow), S_OK);
    EXPECT_TRUE(allow);
}

namespace {

// A pane that records what the context-menu answer asked of the pane on the screen.
class MenuPane : public CustomWebPane {
public:
    bool hasPopup = false;
    bool canBuild = true;
    int popups = 0;
    std::vector<unsigned> shown;

protected:
    bool ShowPopupMenu(QPoint) override
    {
        ++popups;
        return hasPopup;
    }
    bool ShowHostMenu(unsigned, QPoint) override
    {
        if (!canBuild)
            return false;
        shown = {2282, 2283, 31, 2300, 2137, 2137, 15};
        FilterContextMenu(shown);
        return true;
    }
};

} // namespace

TEST(CustomWebPane, ContextMenusAreTheBrowsersUnlessDisabledOrFiltered)
{
    MenuPane pane;
    for (unsigned id = 0; id < 12; ++id)
        EXPECT_EQ(pane.ShowContextMenu(id, {}), S_FALSE) << id;
    EXPECT_EQ(pane.popups, 0);

    pane.DisabledPopupMenus = {PopupMenuKind::rcmImage, PopupMenuKind::rcmAnchor};
    EXPECT_EQ(pane.ShowContextMenu(1, {}), S_OK);
    EXPECT_EQ(pane.ShowContextMenu(5, {}), S_OK);
    EXPECT_EQ(pane.ShowContextMenu(0, {}), S_FALSE);
    // Scroll-bar menus (10 and above) are not among the kinds: 10 is not rcmAll.
    EXPECT_EQ(pane.ShowContextMenu(10, {}), S_FALSE);
    EXPECT_EQ(pane.popups, 2);

    pane.DisabledPopupMenus = {PopupMenuKind::rcmAll};
    for (unsigned id : {0u, 4u, 9u, 10u, 11u, 200u})
        EXPECT_EQ(pane.ShowContextMenu(id, {}), S_OK) << id;

    // Listed items make the pane build the menu, without those items.
    pane.DisabledPopupMenus = {};
    pane.DisabledPopupMenuItems = {PopupMenuItem::rcsBack, PopupMenuItem::rcsOpenNWindow};
    EXPECT_TRUE(pane.WantsCustomContextMenu());
    EXPECT_EQ(pane.ShowContextMenu(0, {}), S_OK);
    EXPECT_EQ(pane.shown, (std::vector<unsigned>{2283, 31, 2300, 15}));
    pane.canBuild = false;
    EXPECT_EQ(pane.ShowContextMenu(0, {}), S_FALSE);

    // A handler decides first; leaving E_NOTIMPL lets the pane decide.
    pane.OnShowContextMenu = [](CustomWebPane&, unsigned id, HResult& answer, QPoint) {
        if (id == 3)
            answer = S_OK;
    };
    pane.canBuild = true;
    EXPECT_EQ(pane.ShowContextMenu(3, {}), S_OK);
    EXPECT_EQ(pane.ShowContextMenu(0, {}), S_OK);
    pane.DisabledPopupMenuItems = {};
    EXPECT_FALSE(pane.WantsCustomContextMenu());
    pane.OnFilterPopupMenu = [](CustomWebPane&, std::vector<unsigned>& commands) { commands.clear(); };
    EXPECT_TRUE(pane.WantsCustomContextMenu());
    EXPECT_EQ(pane.ShowContextMenu(0, {}), S_OK);
    EXPECT_TRUE(pane.shown.empty());
}

TEST(CustomWebPane, KeyPathsUrlsExternalsAndMessages)
{
    CustomWebPane pane;
    std::optional<QString> key = QStringLiteral("stale");
    EXPECT_EQ(pane.GetOptionKeyPath(&key, 0), S_FALSE);
    EXPECT_FALSE(key);
    pane.OptionKeyPath = QStringLiteral("Software\\Quorvel");
    EXPECT_EQ(pane.GetOptionKeyPath(&key, 0), S_OK);
    EXPECT_EQ(key, QStringLiteral("Software\\Quorvel"));
    EXPECT_EQ(pane.GetOverrideKeyPath(&key, 0), S_FALSE);
    EXPECT_FALSE(key);
    pane.OverrideOptionKeyPath = true;
    EXPECT_EQ(pane.GetOptionKeyPath(&key, 0), S_FALSE);
    EXPECT_EQ(pane.GetOverrideKeyPath(&key, 0), S_OK);

    std::optional<QString> url = QStringLiteral("untouched");
    EXPECT_EQ(pane.TranslateUrl(0, "http://a/", &url), S_FALSE);
    EXPECT_EQ(url, QStringLiteral("untouched"));
    pane.OnTranslateUrl = [](CustomWebPane&, const QString& in, QString& out) {
        if (in.contains("old"))
            out = "http://new/";
    };
    EXPECT_EQ(pane.TranslateUrl(0, "http://a/", &url), S_FALSE);
    EXPECT_EQ(pane.TranslateUrl(0, "http://old/", &url), S_OK);
    EXPECT_EQ(url, QStringLiteral("http://new/"));

    QObject* external = reinterpret_cast<QObject*>(&pane);
    EXPECT_EQ(pane.GetExternal(&external), S_FALSE);
    EXPECT_EQ(external, nullptr);

    int result = -1;
    EXPECT_EQ(pane.ShowMessage("hi", "caption", 0, &result), S_FALSE);
    pane.OnShowMessage = [](CustomWebPane&, const QString&, const QString&, unsigned, int& r) {
        r = 1;
        return S_OK;
    };
    EXPECT_EQ(pane.ShowMessage("hi", "caption", 0, &result), S_OK);
    EXPECT_EQ(result, 1);
}

namespace {

class DropPane : public CustomWebPane {
public:
    std::vector<bool> registered;
    bool fail = false;

protected:
    void SetRegisterAsDropTarget(bool value) override
    {
        if (fail)
            throw Exception("browser gone");
        registered.push_back(value);
    }
};

} // namespace

TEST(CustomWebPane, DropTargetByHandlingType)
{
    DropPane pane;
    void* target = &pane;
    EXPECT_EQ(pane.GetDropTarget(nullptr, &target), E_NOTIMPL);
    EXPECT_EQ(target, nullptr);
    pane.DropHandlingType = DropHandling::ddtNo;
    EXPECT_EQ(pane.GetDropTarget(nullptr, &target), S_OK);
    EXPECT_EQ(target, nullptr);
    EXPECT_EQ(pane.registered, (std::vector<bool>{true, false}));
    pane.DropHandlingType = DropHandling::ddtMy;
    EXPECT_EQ(pane.GetDropTarget(nullptr, &target), S_OK);
    EXPECT_EQ(target, static_cast<void*>(&pane));
    int custom = 0;
    pane.DropHandlingType = DropHandling::ddtCustom;
    pane.OnGetDropTarget = [&](CustomWebPane&, void*& t) { t = &custom; };
    EXPECT_EQ(pane.GetDropTarget(nullptr, &target), S_OK);
    EXPECT_EQ(target, static_cast<void*>(&custom));
    // A failing browser call stays inside the answer.
    pane.fail = true;
    pane.DropHandlingType = DropHandling::ddtMS;
    EXPECT_EQ(pane.GetDropTarget(nullptr, &target), E_FAIL);
}

TEST(CustomWebPane, AmbientPropertiesAndTheirFailures)
{
    CustomWebPane pane;
    QVariant value;
    constexpr unsigned get = CustomWebPane::DISPATCH_PROPERTYGET;
    EXPECT_EQ(pane.Invoke(-5512, get, &value, nullptr), S_OK);
    EXPECT_EQ(value, QVariant(qint32(0x70)));
    pane.SetDownloadOptions({DownloadOption::WorkOffline});
    EXPECT_EQ(pane.Invoke(-5512, get, &value, nullptr), S_OK);
    EXPECT_EQ(static_cast<quint32>(value.toInt()), 0x80000000u);
    EXPECT_EQ(pane.Invoke(-709, get, &value, nullptr), S_OK);
    EXPECT_EQ(value, QVariant(true));

    // The pane's own user agent only in its internal mode, and then with a line end.
    pane.UserAgent = QStringLiteral("abc");
    EXPECT_EQ(pane.Invoke(-5513, get, &value, nullptr), DISP_E_MEMBERNOTFOUND);
    pane.UserAgentMode = AgentMode::uaInternal;
    EXPECT_EQ(pane.Invoke(-5513, get, &value, nullptr), S_OK);
    EXPECT_EQ(value, QVariant(QStringLiteral("abc\r\n")));
    pane.UserAgent.clear();
    EXPECT_EQ(pane.Invoke(-5513, get, &value, nullptr), DISP_E_MEMBERNOTFOUND);
    // Only a property get is answered.
    EXPECT_EQ(pane.Invoke(-5512, 1, &value, nullptr), DISP_E_MEMBERNOTFOUND);

    pane.OnInvoke = [](CustomWebPane&, int id, unsigned, QVariant* result, HResult& answer) {
        if (id == -701) {
            *result = 0xFFFFFF;
            answer = S_OK;
        } else if (id == 42) {
            throw EIniFileException("cannot read");
        }
    };
    EXPECT_EQ(pane.Invoke(-701, get, &value, nullptr), S_OK);
    ExcepInfo info;
    EXPECT_EQ(pane.Invoke(42, get, &value, &info), DISP_E_EXCEPTION);
    EXPECT_EQ(info.wCode, 9999);
    EXPECT_EQ(info.bstrSource, "EIniFileException");
    EXPECT_EQ(info.bstrDescription, "cannot read");
}

TEST(WebPaneInterceptor, UserAgentHeaderIsOneLineOfText)
{
    EXPECT_EQ(WebPaneInterceptor::UserAgentHeader("abc\r\n"), "abc");
    // Whatever follows a line end never becomes a header of its own.
    EXPECT_EQ(WebPaneInterceptor::UserAgentHeader("abc\r\nCookie: x=1\r\n"), "abc");
    EXPECT_EQ(WebPaneInterceptor::UserAgentHeader("Quorvel/1.12 (X11)\n"), "Quorvel/1.12 (X11)");
    EXPECT_EQ(WebPaneInterceptor::UserAgentHeader("caf\u00e9\r\n"), "");
    EXPECT_EQ(WebPaneInterceptor::UserAgentHeader("\r\n"), "");
}

TEST(DownloadControl, FlagsDecideWhatLoads)
{
    using R = DownloadControl::Resource;
    const DownloadControl standard(0x70);
    EXPECT_TRUE(standard.ScriptsEnabled());
    EXPECT_TRUE(standard.ImagesEnabled());
    EXPECT_TRUE(standard.PluginsEnabled());
    EXPECT_FALSE(standard.Offline());
    for (R kind : {R::Page, R::Frame, R::Script, R::Image, R::Media, R::Object, R::Other})
        EXPECT_TRUE(standard.AllowsRequest(kind, "https"));

    const DownloadControl bare(0);
    EXPECT_FALSE(bare.ImagesEnabled());
    EXPECT_FALSE(bare.AllowsRequest(R::Image, "file"));
    EXPECT_FALSE(bare.AllowsRequest(R::Media, "http"));
    EXPECT_TRUE(bare.AllowsRequest(R::Script, "http"));

    const DownloadControl noScripts(0x70 | 0x80 | 0x1000 | 0x200);
    EXPECT_FALSE(noScripts.ScriptsEnabled());
    EXPECT_FALSE(noScripts.AllowsRequest(R::Script, "file"));
    EXPECT_FALSE(noScripts.AllowsRequest(R::Frame, "http"));
    EXPECT_FALSE(noScripts.AllowsRequest(R::Object, "http"));
    EXPECT_TRUE(noScripts.AllowsRequest(R::Image, "http"));

    // Both offline modes keep every request off the network, and only those.
    for (std::uint32_t offline : {0x10000000u, 0x80000000u}) {
        const DownloadControl off(0x70 | offline);
        EXPECT_TRUE(off.Offline());
        for (const char* scheme : {"http", "HTTPS", "ws", "wss", "ftp"})
            EXPECT_FALSE(off.AllowsRequest(R::Page, scheme)) << scheme;
        for (const char* scheme : {"file", "data", "blob", "qrc"})
            EXPECT_TRUE(off.AllowsRequest(R::Image, scheme)) << scheme;
    }
}

TEST(DialogGuard, CaptionsLoseTheBrowsersBrand)
{
    EXPECT_EQ(DialogGuard::ReplacedCaption("Microsoft Internet Explorer", ""), "");
    EXPECT_EQ(DialogGuard::ReplacedCaption("Microsoft Internet Explorer", "Quorvel"), "Quorvel");
    // Only the first of each, case-sensitive.
    EXPECT_EQ(DialogGuard::ReplacedCaption("Microsoft Microsoft Internet Explorer Internet Explorer", "Q"),
              "Microsoft Q Internet Explorer");
    EXPECT_EQ(DialogGuard::ReplacedCaption("microsoft internet explorer", "Q"), "microsoft internet explorer");
    EXPECT_EQ(DialogGuard::ReplacedCaption("Microsoft", "Q"), "Microsoft");

    using V = DialogGuard::Verdict;
    EXPECT_EQ(DialogGuard::VerdictFor("Internet Explorer Script Error"), V::Close);
    EXPECT_EQ(DialogGuard::VerdictFor("javascript"), V::Close);
    EXPECT_EQ(DialogGuard::VerdictFor("Runtime eRRor"), V::Destroy);
    EXPECT_EQ(DialogGuard::VerdictFor("Quorvel Online TV v1.12"), V::Keep);
    EXPECT_EQ(DialogGuard::VerdictFor(""), V::Keep);
}
