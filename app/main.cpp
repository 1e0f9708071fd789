#include "Program.h"

#include "platform/DesktopPlatform.h"
#include "platform/HandlerGuard.h"
#include "platform/InstanceLock.h"
#include "settings/SettingsStore.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 2 && (arguments[1] == QLatin1String("--help") || arguments[1] == QLatin1String("-h"))) {
        std::fputs(qPrintable(korval::helpText()), stdout);
        return 0;
    }

    korval::InstanceLock lock;
    korval::DesktopPlatform platform(!lock.tryAcquire());
    korval::SettingsStore store;
    korval::Program program(platform, store);
    korval::runGuarded(platform, [&] { program.Form_Load(korval::argumentString(arguments)); });
    return QApplication::exec();
}
