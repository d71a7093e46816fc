#include "platform/linux/session/termination_signals.h"

#include "platform/linux/session/session_log.h"

#include <fcntl.h>
#include <unistd.h>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace tarnix {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT};

// The pipe's ends; the handler may run on any thread, so it touches nothing else.
int gReadEnd = -1;
int gWriteEnd = -1;

extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    // A full pipe already holds a signal the loop has yet to see: losing this one loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(gWriteEnd, &byte, 1);
    errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(EventLoop& loop, Handler handler)
    : loop_(loop), handler_(std::move(handler))
{
    std::array<int, 2> ends{};
    if (::pipe2(ends.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        qCWarning(lcSession, "no pipe for the termination signals: %s", strerror(errno));
        return;
    }
    gReadEnd = ends[0];
    gWriteEnd = ends[1];
    watchId_ = loop_.watchFd(gReadEnd, [this](unsigned) { receive(); });

    struct sigaction action {};
    action.sa_handler = &onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals) sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (!active()) return;
    for (int signal : kSignals) std::signal(signal, SIG_DFL);
    loop_.unwatchFd(watchId_);
    ::close(gReadEnd);
    ::close(gWriteEnd);
    gReadEnd = gWriteEnd = -1;
}

void TerminationSignals::receive()
{
    unsigned char byte = 0;
    while (::read(gReadEnd, &byte, 1) == 1) {
        qCInfo(lcSession, "signal %d: ending", int(byte));
        handler_(byte);
    }
}

}  // namespace tarnix
