#include "Program.h"

#include "platform/DesktopPlatform.h"
#include "platform/HandlerGuard.h"
#include "platform/InstanceLock.h"
#include "settings/SettingsStore.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const QString argumentString = korval::argumentString(arguments);
    if (const std::optional<int> status = korval::answerWithoutWindows(argumentString))
        return *status;

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));

    korval::InstanceLock lock;
    korval::DesktopPlatform platform(&lock);
    korval::SettingsStore store;
    korval::Program program(platform, store);
    korval::runGuarded(platform, [&] { program.Form_Load(argumentString); });
    return QApplication::exec();
}
