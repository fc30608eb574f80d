#pragma once

#include <cstdint>
#include <initializer_list>

namespace quorvel {

// A set of options of one kind, one bit per option in element order.
template <typename Option>
class OptionSet {
public:
    constexpr OptionSet() = default;
    constexpr OptionSet(std::initializer_list<Option> options)
    {
        for (Option o : options)
            bits_ |= Bit(o);
    }
    constexpr bool Contains(Option o) const { return (bits_ & Bit(o)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr OptionSet& Include(Option o)
    {
        bits_ |= Bit(o);
        return *this;
    }
    constexpr OptionSet& Exclude(Option o)
    {
        bits_ &= ~Bit(o);
        return *this;
    }
    friend constexpr bool operator==(const OptionSet&, const OptionSet&) = default;

private:
    static constexpr std::uint64_t Bit(Option o) { return std::uint64_t{1} << static_cast<unsigned>(o); }
    std::uint64_t bits_ = 0;
};

// How a page is laid out and what of the host's user interface it uses.
enum class UserInterfaceOption : unsigned {
    DisableTextSelect,
    DisableHelpMenu,
    DontUse3DBorders,
    DontUseScrollBars,
    PostponeScriptUntilActive,
    ForceOpenNewWindow,
    Reserved_OFFSCREEN,
    ForceFlatScrollBars,
    InsertDivTagOnEditMode,
    ActivateUIOnlyOnDocClick,
    ConsultBeforeRetrievingBehavior,
    CheckFontSupportsCodePage,
    DisableSubmitUrlInUTF8,
    EnableSubmitUrlInUTF8,
    EnablesFormsAutoComplete,
    ForceSameWindowNavigation,
    EmableImeLocalLanguages,
    EnableThemes,
    DisableThemes,
    DisablePicsRatings,
    DisableFrameSetBorder,
    DisablesAutoNameSpaceCorrection,
    DisableLocalFileAccess,
    DisableUntrustedProtocol,
    CheckNavigationDelegatedToHost,
    EnableRedirectNotification,
    EnableDomWindlessControls,
    EnableWindowedControls,
    ForceUserActivationOnActiveXJava,
};
inline constexpr unsigned UserInterfaceOptionCount = 29;
using UserInterfaceOptionSet = OptionSet<UserInterfaceOption>;

// What a page may load and run.
enum class DownloadOption : unsigned {
    DownloadImages,
    DownloadVideos,
    DownloadBGSounds,
    DontExecuteScripts,
    DontExecuteJava,
    DontExecuteActiveX,
    DontDownloadActiveX,
    DownloadButDontDisplay,
    DontDownloadFrame,
    CheckPageResynchronize,
    DownloadAndIgnoreCache,
    DontDownloadBehaviors,
    SuppressedMetaCharset,
    DisableUrlIfEncodingUTF8,
    EnableUrlIfEncodingUTF8,
    ForceOfflineMode,
    DontPerformClientPull,
    DownloadInSilentMode,
    WorkOffline,
};
inline constexpr unsigned DownloadOptionCount = 19;
using DownloadOptionSet = OptionSet<DownloadOption>;

// Kinds of context menu, numbered as the browser numbers the menu it is about to show;
// rcmAll stands for every kind.
enum class PopupMenuKind : unsigned {
    rcmDefault,
    rcmImage,
    rcmControl,
    rcmTable,
    rcmSelText,
    rcmAnchor,
    rcmUnKnown,
    rcmImageArt,
    rcmImgDynSrc,
    rcmDebug,
    rcmAll,
};
using PopupMenuKindSet = OptionSet<PopupMenuKind>;

// Items a host-built context menu can lose.
enum class PopupMenuItem : unsigned {
    rcsBack,
    rcsForward,
    rcsSavePageBkg,
    rcsSetAsBkg,
    rcsCopyBkg,
    rcsSetAsDeskT,
    rcsSelectAll,
    rcsPaste,
    rcsCreateSC,
    rcsAddToFav,
    rcsEncoding,
    rcsRefresh,
    rcsViewSource,
    rcsProperties,
    rcsPrint,
    rcsOpenNWindow,
    rcsOpenLink,
};
inline constexpr unsigned PopupMenuItemCount = 17;
using PopupMenuItemSet = OptionSet<PopupMenuItem>;

// What a script error leads to: scripts go on, scripts stop, or the user is asked.
enum class ErrorAction { eaContinue, eaCancel, eaAskUser };
// Who takes what is dropped on a page: the browser, the pane, the pane's handler, or nobody.
enum class DropHandling { ddtMS, ddtMy, ddtCustom, ddtNo };
// Whether the pane's own user agent is used.
enum class AgentMode { uaDefault, uaInternal, uaRegistry };

// The flag each option stands for, and the flag word of a set: the union of its options' flags.
std::uint32_t UserInterfaceFlag(UserInterfaceOption option);
std::uint32_t HostUIFlagsOf(UserInterfaceOptionSet options);
std::uint32_t DownloadControlFlag(DownloadOption option);
std::uint32_t DownloadControlFlagsOf(DownloadOptionSet options);
// The menu command an item removes.
unsigned PopupMenuCommand(PopupMenuItem item);

// The flags the program's code and its download control read by name.
inline constexpr std::uint32_t DOCHOSTUIFLAG_SCROLL_NO = 0x8;
inline constexpr std::uint32_t DOCHOSTUIFLAG_ENABLE_INPLACE_NAVIGATION = 0x10000;
inline constexpr std::uint32_t DOCHOSTUIFLAG_LOCAL_MACHINE_ACCESS_CHECK = 0x800000;
inline constexpr std::uint32_t DLCTL_DLIMAGES = 0x10;
inline constexpr std::uint32_t DLCTL_VIDEOS = 0x20;
inline constexpr std::uint32_t DLCTL_BGSOUNDS = 0x40;
inline constexpr std::uint32_t DLCTL_NO_SCRIPTS = 0x80;
inline constexpr std::uint32_t DLCTL_NO_JAVA = 0x100;
inline constexpr std::uint32_t DLCTL_NO_RUNACTIVEXCTLS = 0x200;
inline constexpr std::uint32_t DLCTL_NO_DLACTIVEXCTLS = 0x400;
inline constexpr std::uint32_t DLCTL_NO_FRAMEDOWNLOAD = 0x1000;
inline constexpr std::uint32_t DLCTL_FORCEOFFLINE = 0x10000000;
inline constexpr std::uint32_t DLCTL_OFFLINEIFNOTCONNECTED = 0x80000000;

} // namespace quorvel
