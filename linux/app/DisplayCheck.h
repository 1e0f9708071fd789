#pragma once

#include <QString>

#include <optional>

namespace korval {

// What Qt chooses its platform by, as the environment gives it.
struct PlatformChoice {
    QString platformVariable; // QT_QPA_PLATFORM
    QString sessionType;      // XDG_SESSION_TYPE
    QString currentDesktop;   // XDG_CURRENT_DESKTOP
    QString sessionDesktop;   // XDG_SESSION_DESKTOP
};

PlatformChoice platformChoiceFromEnvironment();

// Whether Qt starts on its X11 platform (xcb): QT_QPA_PLATFORM names it
// first, or, where that is not set, it is Qt's first choice for the session.
bool startsOnX11(const PlatformChoice& choice);

// Why the program cannot start where Qt starts on X11: no X display that
// takes connections (Qt would end the program with an abort), or, for a
// host's window, a build without X11. Nothing where it can start.
std::optional<QString> displayProblem(const PlatformChoice& choice, bool hosted);

} // namespace korval
