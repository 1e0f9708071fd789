#include "DisplayCheck.h"
#include "Program.h"

#include "platform/DesktopPlatform.h"
#include "core/runtime/HandlerGuard.h"
#include "platform/HostPlatform.h"
#include "platform/InstanceLock.h"
#include "platform/TerminationSignals.h"
#include "settings/IniSettingsStore.h"

#include <QApplication>

#include <cstdio>

namespace {

int run(korval::Platform& platform, const korval::CommandLine& commandLine, korval::TerminationSignals& termination)
{
    korval::IniSettingsStore store;
    korval::Program program(platform, store);
    termination.setHandler([&platform] { platform.endProgram(0); });
    korval::runGuarded(platform, [&] { program.Form_Load(commandLine); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const korval::CommandLine commandLine
        = korval::readCommandLine(arguments, qEnvironmentVariable("XSCREENSAVER_WINDOW"));
    if (const std::optional<int> status = korval::answerWithoutWindows(commandLine))
        return *status;

    // From here on the end of the program is its own: a signal ends it as
    // its last handler would, giving the instance lock back.
    korval::TerminationSignals termination;
    const bool hosted = commandLine.mode == korval::Mode::Hosted;
    // A host hands over an X window id, which only the X11 platform can use.
    if (hosted && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    const korval::PlatformChoice choice = korval::platformChoiceFromEnvironment();
    korval::StartPlatform start = korval::choosePlatform(choice, korval::probeDisplays(choice));
    if (!start.problem && hosted)
        start.problem = korval::hostProblem();
    if (start.problem) {
        std::fprintf(stderr, "korval: %s\n", qPrintable(*start.problem));
        return 1;
    }
    if (!start.platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", start.platform.toLatin1());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));

    if (hosted) {
        korval::HostPlatform platform;
        return run(platform, commandLine, termination);
    }
    korval::InstanceLock lock;
    korval::DesktopPlatform platform(&lock);
    return run(platform, commandLine, termination);
}
