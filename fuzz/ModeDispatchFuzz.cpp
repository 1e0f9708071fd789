// The command line to a mode: any argument string selects exactly one mode,
// spaces around it do not matter, and nothing after its first two characters
// does either. Read as the hosts' switches and $XSCREENSAVER_WINDOW, it gives
// help, an error or a mode, and a window id it reads is read the same in
// either notation.

#include "FuzzSupport.h"

#include "app/CommandLine.h"
#include "app/Usage.h"
#include "core/dispatch/ModeDispatch.h"

#include <QStringList>

using namespace korval;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startApplication(argc, argv);
    return 0;
}

namespace {

// The whole command line: exactly one of help, an error, or a mode to run;
// a window only in a host's window; a window id that reads back the same in
// decimal and in hexadecimal.
void checkCommandLine(const QStringList& list, const QString& text)
{
    const CommandLine line = readCommandLine(list, text);
    if (line.help && !line.error.isEmpty())
        fuzz::fail("help and an error at once");
    if (line.window != 0 && line.mode != Mode::Hosted)
        fuzz::fail("a window outside the host mode");
    const QString joined = list.join(QLatin1Char(' '));
    if (line.mode == Mode::Hosted && !joined.contains(QLatin1String("root")) && !joined.contains(QLatin1String("window-id")))
        fuzz::fail("the host mode without -root or -window-id");
    if (const std::optional<std::uint32_t> window = readWindowId(text)) {
        if (*window == 0 || readWindowId(QString::number(*window)) != window
            || readWindowId(QStringLiteral("0x") + QString::number(*window, 16)) != window)
            fuzz::fail("a window id that does not read back");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString arguments = fuzz::textOf(data, size);
    const std::string text = arguments.toStdString();
    const Mode mode = selectMode(text);
    if (mode != Mode::Preview && mode != Mode::Configure && mode != Mode::Saver && mode != Mode::PasswordChange
        && mode != Mode::Unknown)
        fuzz::fail("selectMode returned no mode");

    if (selectMode("  " + text + "   ") != mode)
        fuzz::fail("spaces around the arguments changed the mode");

    // The first two characters after the leading spaces decide; a window
    // handle or anything else after them is never read.
    qsizetype first = 0;
    while (first < arguments.size() && arguments[first] == QLatin1Char(' '))
        ++first;
    const QString head = arguments.mid(first, 2);
    if (head.size() == 2 && head[1] != QLatin1Char(' ')
        && selectMode((head + QStringLiteral(":12345 anything")).toStdString()) != mode)
        fuzz::fail("text after the first two characters changed the mode");

    // The argument list the process receives, split where the host put spaces.
    const QStringList list = QStringList{QStringLiteral("korval")} + arguments.split(QLatin1Char(' '));
    if (selectMode(argumentString(list).toStdString()) != mode)
        fuzz::fail("joining the argument list changed the mode");

    // A window handle after the switch reads back as written.
    if (const std::optional<std::uint64_t> window = hostWindowOf(text)) {
        if (hostWindowOf("/c:" + std::to_string(*window)) != window)
            fuzz::fail("a host's window handle that does not read back");
    }

    checkCommandLine(list, arguments);
    return 0;
}
