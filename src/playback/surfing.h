#pragma once

#include "base/requestoptions.h"

#include <QObject>
#include <QString>

#include <memory>

class QTimer;

namespace quorvel {

class MpvCore;
class MpvRenderer;
class MpvVideoWindow;
class PlayerSession;

// Surfing: a viewer who zaps twice the same way within a while goes on that way. The channel
// after the one shown is then opened ahead in a core of its own, silent and held at its first
// picture, drawn nowhere; when the next zap asks for it, the video window takes its renderer and
// the session its core, so it shows at once, and the core that played goes on as the next one
// ahead. Never more than one channel ahead, closed on a zap any other way and after a while without a zap.
// Its request options go with it.
//
// The second core is there, idle, from a while after the first zap on, and stays when the
// surfing ends: every zap opens its channel there and swaps it in at once, while the core that
// played winds down beside it and becomes the idle one. mpv ending the channel before opening
// the next cost 3-5 ms of a 25 ms zap on a fast link, and up to 100 ms on any link while libav
// was between two reads of a live channel (it looks whether it is to stop ten times a second):
// the first zap after watching a while was a round trip slower than mpv alone. An idle core
// holds no connection to any server; it goes when the player hides or closes its channel.
class Surfing : public QObject {
    Q_OBJECT
public:
    // How long after a zap the next one still counts as the same surfing.
    static constexpr int kIdleMs = 10000;

    // audioOutput: the session core's own (see MpvCore), for a core that will play in its place.
    Surfing(PlayerSession& session, MpvVideoWindow& video, const QString& audioOutput, QObject* parent = nullptr);
    ~Surfing() override;

    // A zap was made: direction +1 or -1 for a step to the neighbouring channel (0 for any
    // other choice), and the address and options of the channel after it that way. A second
    // step the same way within kIdleMs opens that next channel ahead; any zap has the second
    // core made (idle) for the next, when there is none.
    void Zapped(int direction, const QString& nextUrl, const RequestOptions& nextOptions);
    // Shows the address in the session and the window: the channel opened ahead when it is
    // that one (with the same options), else opened in the idle second core; false when neither
    // is there, and the caller opens it as ever.
    bool Show(const QString& url, const RequestOptions& options);
    // Closes the channel ahead and the second core, and forgets the direction.
    void Stop();

    void SetIdleMs(int ms);
    // A core exists for channels ahead (it may be between two of them).
    bool HasCore() const { return core_ != nullptr; }
    // The address opened ahead (or to be, once the core let go of the one before), empty when
    // none is.
    QString AheadURL() const { return aheadUrl_; }
    // The channel ahead has its first picture, ready to be shown.
    bool AheadHasPicture() const;
    // The second core is idle, its renderer having drawn a picture off screen.
    bool SpareReady() const;
    // The core the channel ahead plays in (for measuring), null when there is none.
    MpvCore* AheadCore() const { return core_.get(); }

private:
    bool ShowAhead(const QString& url, const RequestOptions& options);
    void OpenAhead(const QString& url, const RequestOptions& options);
    // Puts the address ahead to the core, once it is settled.
    void LoadAhead();
    void MakeSpareCore();
    void CloseAhead();
    void MakeCore();
    void Watch();
    // mpv's news of a picture in the core that is not shown: drawn off screen once when it is
    // the channel ahead's, else let go; either way mpv may go on.
    void LookAtNews(MpvRenderer* renderer);

    // How long after its first prepared picture a renderer gets ready to copy it.
    static constexpr int kCopyLaterMs = 500;
    // How long after a zap the second core is made for the next: later than the zap's own
    // first picture on a fast link, which the making would slow.
    static constexpr int kSpareLaterMs = 500;
    // What the second core plays once made, for its renderer to have drawn a picture.
    static constexpr const char* kWarmUpAddress = "av://lavfi:color=c=black:s=1280x720:d=1";
    PlayerSession& session_;
    MpvVideoWindow& video_;
    QString audioOutput_;
    // The renderer is declared after its core, so it goes first.
    std::unique_ptr<MpvCore> core_;
    std::unique_ptr<MpvRenderer> renderer_;
    QTimer* idle_ = nullptr;
    QTimer* spareLater_ = nullptr;
    int direction_ = 0;
    // The second core plays its warm-up picture.
    bool warmingUp_ = false;
    QString aheadUrl_;
    RequestOptions aheadOptions_;
    // The address ahead was put to the core.
    bool aheadLoaded_ = false;
};

} // namespace quorvel
