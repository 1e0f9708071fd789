#include "TerminationSignals.h"

#if defined(Q_OS_UNIX)

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

namespace korval {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The pipe's write end, the one thing the signal handler may touch.
volatile std::sig_atomic_t signalPipe = -1;

// Only async-signal-safe calls here: one byte into the pipe wakes the event
// loop, which does the rest. A full pipe already holds a wake-up.
extern "C" void onTerminationSignal(int signal)
{
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalPipe, &byte, 1);
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals()
{
    if (::pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // no pipe: the signals keep their default action and still end the program
    signalPipe = pipe_[1];
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

TerminationSignals::~TerminationSignals()
{
    if (pipe_[0] < 0)
        return;
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
    signalPipe = -1;
    notifier_.reset();
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void TerminationSignals::setHandler(std::function<void()> handler)
{
    handler_ = std::move(handler);
    if (pipe_[0] < 0 || notifier_)
        return;
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { readSignals(); });
}

void TerminationSignals::readSignals()
{
    char bytes[16];
    while (::read(pipe_[0], bytes, sizeof bytes) > 0) {
    }
    if (handler_)
        handler_();
}

} // namespace korval

#else

// Elsewhere a host ends the program through its window, not with a signal.
namespace korval {

TerminationSignals::TerminationSignals() = default;
TerminationSignals::~TerminationSignals() = default;
void TerminationSignals::setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
void TerminationSignals::readSignals() {}

} // namespace korval

#endif
