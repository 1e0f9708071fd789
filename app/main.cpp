#include "Program.h"

#include "platform/DesktopPlatform.h"
#include "platform/HandlerGuard.h"
#include "platform/InstanceLock.h"
#include "settings/SettingsStore.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    // Help is answered before Qt looks for a display, so that it works in a
    // terminal without one.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(qPrintable(korval::helpText()), stdout);
        return 0;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));

    const QStringList arguments = QApplication::arguments();

    korval::InstanceLock lock;
    korval::DesktopPlatform platform(!lock.tryAcquire());
    korval::SettingsStore store;
    korval::Program program(platform, store);
    korval::runGuarded(platform, [&] { program.Form_Load(korval::argumentString(arguments)); });
    return QApplication::exec();
}
