#include "platform/terminationrequests.h"

#include "base/exception.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quorvel {
namespace {

// A signal handler may only write to a descriptor; the event loop reads the other end.
int g_pair[2] = {-1, -1};
const int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnSignal(int number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(g_pair[0], &byte, 1);
    errno = saved;
}

void Install(void (*handler)(int))
{
    struct sigaction action { };
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int number : kSignals)
        ::sigaction(number, &action, nullptr);
}

} // namespace

TerminationRequests::TerminationRequests(QObject* parent) : QObject(parent)
{
    if (g_pair[0] >= 0)
        throw Exception("Termination requests are already watched");
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, g_pair) != 0)
        throw Exception("Unable to watch for termination requests");
    notifier_ = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &TerminationRequests::Drain);
    Install(&OnSignal);
}

TerminationRequests::~TerminationRequests()
{
    Install(SIG_DFL);
    delete notifier_;
    ::close(g_pair[0]);
    ::close(g_pair[1]);
    g_pair[0] = g_pair[1] = -1;
}

void TerminationRequests::Drain()
{
    unsigned char bytes[16];
    ssize_t n;
    while ((n = ::read(g_pair[1], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < n; ++i)
            emit requested(bytes[i]);
}

} // namespace quorvel
