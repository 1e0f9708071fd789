#include "VirtualDisplay.h"

#include "EndProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace korval::e2e {
namespace {

QString socketPath(int number)
{
    return QStringLiteral("/tmp/.X11-unix/X%1").arg(number);
}

bool displayInUse(int number)
{
    return QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)) || QFile::exists(socketPath(number));
}

bool acceptsConnections(int number)
{
    const QByteArray path = socketPath(number).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (socket < 0)
        return false;
    const bool connected = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socket);
    return connected;
}

} // namespace

VirtualDisplay::VirtualDisplay(int width, int height) : width_(width), height_(height)
{
    // Test programs run side by side: each starts from its own process id,
    // and a number that another server took meanwhile is skipped.
    const int first = static_cast<int>(::getpid() % 700);
    for (int attempt = 0; attempt < 20 && !ready_; ++attempt) {
        const int number = 200 + (first + attempt * 37) % 700;
        if (!displayInUse(number))
            ready_ = tryStart(number);
    }
    if (!ready_ && error_.isEmpty())
        error_ = QStringLiteral("no free display number for Xvfb");
}

bool VirtualDisplay::tryStart(int number)
{
    server_.setProcessChannelMode(QProcess::MergedChannels);
    // A test program that is killed (a CTest time-out) takes its server along.
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    server_.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(number), QStringLiteral("-screen"),
                                            QStringLiteral("0"), QStringLiteral("%1x%2x24").arg(width_).arg(height_),
                                            QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!server_.waitForStarted(5000)) {
        error_ = QStringLiteral("Xvfb does not start: ") + server_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        if (server_.state() != QProcess::Running || server_.waitForFinished(0)) {
            error_ = QStringLiteral("Xvfb :%1 ended: ").arg(number) + QString::fromLocal8Bit(server_.readAll());
            return false;
        }
        if (acceptsConnections(number)) {
            number_ = number;
            return true;
        }
        QThread::msleep(50);
    }
    error_ = QStringLiteral("Xvfb :%1 does not accept connections").arg(number);
    server_.kill();
    server_.waitForFinished(3000);
    return false;
}

VirtualDisplay::~VirtualDisplay()
{
    endProcess(server_);
}

} // namespace korval::e2e
