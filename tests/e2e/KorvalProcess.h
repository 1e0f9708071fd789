#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <optional>

namespace korval::e2e {

// The built program, started with a command line in a given environment.
// A process still running when the object goes is killed, so a failing
// test never leaves a saver behind.
class KorvalProcess {
public:
    KorvalProcess(const QStringList& arguments, const QProcessEnvironment& environment);
    ~KorvalProcess();
    KorvalProcess(const KorvalProcess&) = delete;
    KorvalProcess& operator=(const KorvalProcess&) = delete;

    bool started() const { return started_; }
    // Waits up to the given time; the exit status if it ended normally by
    // then, nothing if it still runs (or crashed).
    std::optional<int> waitForExit(int milliseconds);
    bool isRunning();
    // Sends it a signal, as a host does to end it.
    void signal(int number);
    // What it wrote to its standard error so far.
    QString errorOutput();

private:
    QProcess process_;
    bool started_ = false;
};

} // namespace korval::e2e
