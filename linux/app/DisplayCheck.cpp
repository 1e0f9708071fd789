#include "DisplayCheck.h"

#include <QStringList>

#ifdef KORVAL_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace korval {

PlatformChoice platformChoiceFromEnvironment()
{
    return {qEnvironmentVariable("QT_QPA_PLATFORM"), qEnvironmentVariable("XDG_SESSION_TYPE"),
            qEnvironmentVariable("XDG_CURRENT_DESKTOP"), qEnvironmentVariable("XDG_SESSION_DESKTOP")};
}

// Qt tries the platforms of a list such as "wayland;xcb" in turn, each name
// before its options ("xcb:option=value"), in any case. Without the
// variable it starts on X11, except in a Wayland session outside GNOME.
bool startsOnX11(const PlatformChoice& choice)
{
    if (choice.platformVariable.isEmpty()) {
        const bool gnome = choice.currentDesktop.contains(QLatin1String("gnome"), Qt::CaseInsensitive)
                           || choice.sessionDesktop.contains(QLatin1String("gnome"), Qt::CaseInsensitive);
        return choice.sessionType != QLatin1String("wayland") || gnome;
    }
    const QString first = choice.platformVariable.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(':'), 0, 0);
    return first.trimmed().compare(QLatin1String("xcb"), Qt::CaseInsensitive) == 0;
}

std::optional<QString> displayProblem(const PlatformChoice& choice, [[maybe_unused]] bool hosted)
{
    if (!startsOnX11(choice))
        return std::nullopt;
#ifdef KORVAL_HAVE_XCB
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool usable = !xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (usable)
        return std::nullopt;
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return QStringLiteral("cannot open the X display: DISPLAY is not set");
    return QStringLiteral("cannot open the X display '%1'").arg(display);
#else
    // Without the X11 headers there is nothing to check with; Qt alone
    // knows whether it can start, and a host's window cannot be drawn in.
    if (hosted)
        return QStringLiteral("cannot draw in a host window: this build has no X11 support");
    return std::nullopt;
#endif
}

} // namespace korval
