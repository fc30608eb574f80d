#include "playertest.h"

#include "clips.h"
#include "scratchdir.h"

#include <QSlider>
#include <QToolButton>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using quorvel::MediaPlayer;

const std::string& Clip()
{
    static ScratchDir dir;
    static const std::string clip = [] {
        const std::string path = dir.File("clip.mp4");
        return MakeClip(path, "testsrc=size=320x240:rate=25", 60) ? path : std::string();
    }();
    return clip;
}

SilentServer::SilentServer()
{
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    ::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len);
    ::listen(fd_, 64);
    ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
}

SilentServer::~SilentServer() { ::close(fd_); }

QString SilentServer::Url(const QString& path) const
{
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(port_).arg(path);
}

QToolButton* Button(MediaPlayer& player, const QString& tip)
{
    for (auto* b : player.findChildren<QToolButton*>())
        if (b->toolTip() == tip)
            return b;
    return nullptr;
}

bool Click(MediaPlayer& player, const QString& tip)
{
    QToolButton* b = Button(player, tip);
    if (b)
        b->click();
    return b != nullptr;
}

QSlider* SeekBar(MediaPlayer& player)
{
    for (auto* s : player.findChildren<QSlider*>())
        if (s->maximum() == 1000)
            return s;
    return nullptr;
}
