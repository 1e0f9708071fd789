#include "PlainWindow.h"

#include <sys/prctl.h>

#include <csignal>

namespace korval::e2e {

bool PlainWindow::isAvailable()
{
#ifdef KORVAL_PLAIN_WINDOW
    return true;
#else
    return false;
#endif
}

PlainWindow::PlainWindow(const QRect& geometry, const QProcessEnvironment& environment) : geometry_(geometry)
{
#ifdef KORVAL_PLAIN_WINDOW
    process_.setProcessEnvironment(environment);
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process_.start(QStringLiteral(KORVAL_PLAIN_WINDOW),
                   {QStringLiteral("%1x%2+%3+%4").arg(geometry.width()).arg(geometry.height()).arg(geometry.x()).arg(geometry.y())});
    // The id comes once the window is mapped.
    if (!process_.waitForStarted(5000) || !process_.waitForReadyRead(5000))
        return;
    bool read = false;
    const QString line = QString::fromLatin1(process_.readLine()).trimmed();
    const std::uint32_t id = line.mid(2).toUInt(&read, 16);
    if (read)
        id_ = id;
#else
    (void)environment;
#endif
}

PlainWindow::~PlainWindow()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(3000);
}

void PlainWindow::resize(int width, int height)
{
    geometry_.setSize({width, height});
    command(QStringLiteral("resize %1 %2").arg(width).arg(height));
}

void PlainWindow::destroy()
{
    command(QStringLiteral("destroy"));
}

void PlainWindow::command(const QString& line)
{
    process_.write((line + QLatin1Char('\n')).toLatin1());
    process_.waitForBytesWritten(3000);
}

} // namespace korval::e2e
