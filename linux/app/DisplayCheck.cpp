#include "DisplayCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#ifdef KORVAL_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace korval {
namespace {

// A Wayland display names its socket by a path, or by a name in the
// runtime folder.
bool socketConnects(const QString& display)
{
    if (display.isEmpty())
        return false;
    QString path = display;
    if (!QDir::isAbsolutePath(path)) {
        const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
        if (runtime.isEmpty())
            return false;
        path = runtime + QLatin1Char('/') + display;
    }
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    if (encoded.size() >= static_cast<qsizetype>(sizeof(address.sun_path)))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, encoded.constData(), static_cast<size_t>(encoded.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return connected;
}

bool waylandPlatformInstalled()
{
    QStringList folders = qEnvironmentVariable("QT_PLUGIN_PATH").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
    for (const QString& folder : folders) {
        if (QFileInfo::exists(folder + QStringLiteral("/platforms/libqwayland-generic.so")))
            return true;
    }
    return false;
}

bool x11Connects()
{
#ifdef KORVAL_HAVE_XCB
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool usable = !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    return usable;
#else
    // Without the X11 headers there is nothing to check with; Qt alone
    // knows whether it can start.
    return !qEnvironmentVariable("DISPLAY").isEmpty();
#endif
}

QString x11Problem(const PlatformChoice& choice)
{
    if (choice.x11Display.isEmpty())
        return QStringLiteral("cannot open the X display: DISPLAY is not set");
    return QStringLiteral("cannot open the X display '%1'").arg(choice.x11Display);
}

QString waylandProblem(const PlatformChoice& choice, const DisplayProbe& probe)
{
    if (choice.waylandDisplay.isEmpty())
        return QStringLiteral("no Wayland display: WAYLAND_DISPLAY is not set");
    if (!probe.waylandConnects)
        return QStringLiteral("cannot open the Wayland display '%1'").arg(choice.waylandDisplay);
    return QStringLiteral("Qt's wayland platform is not installed (package qt6-wayland) for the Wayland display '%1'")
        .arg(choice.waylandDisplay);
}

} // namespace

PlatformChoice platformChoiceFromEnvironment()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("WAYLAND_DISPLAY"),
            qEnvironmentVariable("DISPLAY")};
}

DisplayProbe probeDisplays(const PlatformChoice& choice)
{
    DisplayProbe probe;
    // The user's own choice of platform is Qt's to check, except for X11,
    // where Qt aborts the program rather than say it found no display.
    if (choice.platformVariable.isEmpty()) {
        probe.waylandConnects = socketConnects(choice.waylandDisplay);
        probe.waylandPlatform = probe.waylandConnects && waylandPlatformInstalled();
    }
    if (choice.platformVariable.isEmpty() || startsOnX11(choice.platformVariable))
        probe.x11Connects = x11Connects();
    return probe;
}

// Qt tries the platforms of a list such as "wayland;xcb" in turn, each name
// before its options ("xcb:option=value"), in any case.
bool startsOnX11(const QString& platformVariable)
{
    const QString first = platformVariable.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    return first.trimmed().compare(QLatin1String("xcb"), Qt::CaseInsensitive) == 0;
}

StartPlatform choosePlatform(const PlatformChoice& choice, const DisplayProbe& probe)
{
    if (!choice.platformVariable.isEmpty()) {
        if (startsOnX11(choice.platformVariable) && !probe.x11Connects)
            return {{}, x11Problem(choice)};
        return {};
    }
    if (probe.waylandConnects && probe.waylandPlatform)
        return {QStringLiteral("wayland"), std::nullopt};
    if (probe.x11Connects)
        return {QStringLiteral("xcb"), std::nullopt};
    return {{}, x11Problem(choice) + QStringLiteral(", and ") + waylandProblem(choice, probe)};
}

std::optional<QString> hostProblem()
{
#ifdef KORVAL_HAVE_XCB
    return std::nullopt;
#else
    return QStringLiteral("cannot draw in a host window: this build has no X11 support");
#endif
}

} // namespace korval
