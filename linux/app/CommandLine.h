#pragma once

#include "core/dispatch/ModeDispatch.h"

#include "core/settings/SettingEntries.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace korval {

// What the command line asks for, read once before anything else happens.
// Two styles are understood: the Windows host's ("/s", "/c:1234", "/p 1234",
// where the first two characters choose the mode), and the switches that the
// X11 screen-saver hosts pass to a display program ("-root", "--window-id
// 0x...", one dash or two).
struct CommandLine {
    Mode mode = Mode::Configure;
    bool help = false;
    // Mode::Hosted: the X window to draw in; 0 stands for the display's
    // root window.
    std::uint32_t window = 0;
    // Settings for this run only, by key name, in the place of stored ones.
    SettingEntries runOnly;
    // Why the command line cannot be followed; empty when it can.
    QString error;
};

// Reads the arguments after the program's name. hostWindowVariable is the
// value of $XSCREENSAVER_WINDOW, where the hosts name the window they made
// for "-root".
CommandLine readCommandLine(const QStringList& arguments, const QString& hostWindowVariable);

// A window id as the hosts write it: decimal, or hexadecimal after "0x";
// nothing when the text is no such number or names no window (0, or more
// than 32 bits).
std::optional<std::uint32_t> readWindowId(const QString& text);

// Answers what needs no window before Qt looks for a display and before the
// instance lock is taken: help, the preview (not supported), and a command
// line that cannot be followed. Returns the exit status, or nothing when the
// program is to run.
std::optional<int> answerWithoutWindows(const CommandLine& commandLine);

} // namespace korval
