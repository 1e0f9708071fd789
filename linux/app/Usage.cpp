#include "Usage.h"

namespace korval {

QString argumentString(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

QString usageText()
{
    return QStringLiteral("usage: korval [/s | /c[:handle] | /p handle | --root | --window-id ID | --window | --help]");
}

QString helpText()
{
    return QStringLiteral(
        "usage: korval [/s | /c[:handle] | /p handle] [settings for this run]\n"
        "       korval --root | --window-id ID | --window [settings for this run]\n"
        "  /s              run the screen saver on the primary screen\n"
        "  /c, /c:handle   open the options dialog (also with no argument)\n"
        "  /p handle       preview: not supported, ends at once\n"
        "  --root          draw in the window named by $XSCREENSAVER_WINDOW, else in\n"
        "                  the root window (for XScreenSaver, xsecurelock, MATE)\n"
        "  --window-id ID  draw in the X window ID (decimal, or hexadecimal after 0x)\n"
        "  --window        run the screen saver in a window of its own, as /s\n"
        "  --help          show this text\n"
        "Settings for this run (with /s and the switches above; nothing is stored):\n"
        "  --text-size N   font size of the glyphs in points (TEXTSIZE)\n"
        "  --cell-width N  width of a glyph cell in pixels (WIDTH)\n"
        "  --cell-height N height of a glyph cell in pixels (HEIGHT)\n"
        "  --banner, --no-banner\n"
        "                  show the SYSTEM FAILURE banner before ending, or not (SYSTEM)\n"
        "Switches take one dash or two.\n");
}

} // namespace korval
