#include <QApplication>

#include <gtest/gtest.h>

// Every test program runs inside a Qt application, so that windows, fonts
// and timers work; on the offscreen platform no display is needed.
int main(int argc, char* argv[])
{
    // Listing the tests happens without the test environment; a Qt
    // application still needs a platform then.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KORVAL"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
