#pragma once

#include <QString>

#include <optional>

namespace korval {

// What the program chooses its window system by, as the environment gives it.
struct PlatformChoice {
    QString platformVariable; // QT_QPA_PLATFORM: the user's own choice, taken as it is
    QString waylandDisplay;   // WAYLAND_DISPLAY
    QString x11Display;       // DISPLAY
};

PlatformChoice platformChoiceFromEnvironment();

// What can be reached from here, found out before Qt starts.
struct DisplayProbe {
    bool waylandConnects = false; // WAYLAND_DISPLAY names a socket that takes connections
    bool waylandPlatform = false; // Qt's wayland platform is installed
    bool x11Connects = false;     // the X display takes connections (and this build speaks X11)
};

DisplayProbe probeDisplays(const PlatformChoice& choice);

// Whether Qt starts on its X11 platform (xcb) by the given QT_QPA_PLATFORM.
bool startsOnX11(const QString& platformVariable);

// Where the program starts: the platform for Qt ("wayland" or "xcb"; empty
// to keep the user's QT_QPA_PLATFORM), or why it cannot start at all.
struct StartPlatform {
    QString platform;
    std::optional<QString> problem;
};

// The user's QT_QPA_PLATFORM is kept; only where it names X11 and no X
// display takes connections is there a problem. Without it a Wayland
// display that takes connections comes first, then X11; where neither
// works the problem names both.
StartPlatform choosePlatform(const PlatformChoice& choice, const DisplayProbe& probe);

// Why the program cannot draw in a host's window (an X window) at all, if
// it cannot: a build without X11.
std::optional<QString> hostProblem();

} // namespace korval
