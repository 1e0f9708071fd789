#pragma once

#include <QSocketNotifier>

#include <functional>
#include <memory>

namespace korval {

// SIGTERM, SIGINT and SIGHUP, the ways a screen-saver host, a terminal or a
// session asks the program to end, turned into a call on the GUI thread.
// The signals are caught from construction on; one that comes before a
// handler is set is kept and handled as soon as the event loop runs. There
// is one of these per process: a signal handler can reach only what the
// whole process shares.
class TerminationSignals {
public:
    TerminationSignals();
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

    // What a signal runs; needs the Qt application.
    void setHandler(std::function<void()> handler);

private:
    void readSignals();

    int pipe_[2] = {-1, -1};
    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> handler_;
};

} // namespace korval
