#include "KorvalProcess.h"

#ifndef KORVAL_BINARY
#error "KORVAL_BINARY must name the built program"
#endif

#include <sys/prctl.h>

#include <csignal>

namespace korval::e2e {

KorvalProcess::KorvalProcess(const QStringList& arguments, const QProcessEnvironment& environment)
{
    process_.setProcessEnvironment(environment);
    // A test program that is killed (a CTest time-out) takes its saver along.
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_.start(QStringLiteral(KORVAL_BINARY), arguments);
    started_ = process_.waitForStarted(5000);
}

KorvalProcess::~KorvalProcess()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(3000);
}

std::optional<int> KorvalProcess::waitForExit(int milliseconds)
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(milliseconds))
        return std::nullopt;
    if (process_.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return process_.exitCode();
}

bool KorvalProcess::isRunning()
{
    return process_.state() != QProcess::NotRunning && !process_.waitForFinished(0);
}

void KorvalProcess::signal(int number)
{
    if (process_.state() != QProcess::NotRunning)
        ::kill(static_cast<pid_t>(process_.processId()), number);
}

QString KorvalProcess::errorOutput()
{
    return QString::fromLocal8Bit(process_.readAllStandardError());
}

} // namespace korval::e2e
