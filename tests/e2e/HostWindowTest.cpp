// The program as a screen-saver host runs it: drawing in a window that
// another program made (here a plain window of the test's own), ended by
// the window's destruction or a signal.

#include "PlainWindow.h"
#include "WholeProgramTest.h"

#include <QFile>
#include <QFileInfo>

#include <csignal>

namespace korval::e2e {
namespace {

const QRect kScreen(0, 0, VirtualDisplay::kWidth, VirtualDisplay::kHeight);

int greenOutside(const QImage& screen, const QRect& area)
{
    return countGreen(screen, kScreen) - countGreen(screen, area & kScreen);
}

class HostWindowTest : public WholeProgramTest {
protected:
    void SetUp() override
    {
        WholeProgramTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (!PlainWindow::isAvailable())
            GTEST_SKIP() << "korval_plain_window was not built (no xcb development files)";
    }

    std::unique_ptr<PlainWindow> makeWindow(const QRect& geometry)
    {
        auto window = std::make_unique<PlainWindow>(geometry, environment());
        EXPECT_NE(window->id(), 0u) << "the plain window does not show";
        return window;
    }

    std::unique_ptr<KorvalProcess> startIn(const PlainWindow& window)
    {
        return start({QStringLiteral("--window-id"), window.hexadecimalId()}, environment());
    }

};

TEST_F(HostWindowTest, RainFillsTheWindowAndNothingOutsideItWithoutAWindowOrLockOfItsOwn)
{
    const QRect area(100, 80, 400, 300);
    auto window = makeWindow(area);
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto korval = startIn(*window);

    const QImage screen = desktop->waitForRain(area, 50);
    ASSERT_FALSE(screen.isNull()) << "no screenshot";
    EXPECT_GE(greenInEachQuarter(screen, area), 50) << "the grid covers the whole window";
    EXPECT_EQ(greenOutside(screen, area), 0) << "nothing drawn outside the host's window";
    EXPECT_TRUE(korval->isRunning()) << korval->errorOutput().toStdString();
    EXPECT_EQ(watcher.mapsSoFar(), 0) << "no window of its own";
    EXPECT_FALSE(user.lockLeft()) << "no instance lock";
}

TEST_F(HostWindowTest, FollowsAResizeOfItsWindowFromThePreviewSize)
{
    auto window = makeWindow(QRect(0, 0, 200, 150));
    auto korval = startIn(*window);
    ASSERT_GE(greenInEachQuarter(desktop->waitForRain(window->geometry(), 20), window->geometry()), 20)
        << "rain in a preview-sized window";

    window->resize(600, 400);
    const QRect grown(300, 200, 280, 180); // outside the old size, inside the new one
    const QImage screen = desktop->waitForRain(grown, 20);
    EXPECT_GE(greenInEachQuarter(screen, grown), 20) << "the grid was laid out for the new size";
    EXPECT_EQ(greenOutside(screen, QRect(0, 0, 600, 400)), 0);
    EXPECT_TRUE(korval->isRunning());
}

TEST_F(HostWindowTest, WindowSmallerThanACellStaysBlackUntilItGrows)
{
    auto window = makeWindow(QRect(50, 50, 10, 10));
    auto korval = startIn(*window);
    // Nothing to wait for shows that the program has settled on drawing
    // nothing, so it is given a second to do otherwise.
    EXPECT_FALSE(korval->waitForExit(1000)) << "runs on: " << korval->errorOutput().toStdString();
    EXPECT_EQ(countGreen(desktop->screenshot(), kScreen), 0);

    window->resize(300, 200);
    EXPECT_GE(greenInEachQuarter(desktop->waitForRain(window->geometry(), 20), window->geometry()), 20);
}

TEST_F(HostWindowTest, EndsWhenItsWindowIsDestroyed)
{
    auto window = makeWindow(QRect(0, 0, 300, 200));
    auto korval = startIn(*window);
    ASSERT_GE(greenInEachQuarter(desktop->waitForRain(window->geometry(), 20), window->geometry()), 20);
    const Sent destroyed = send([&] {
        window->destroy();
        EXPECT_TRUE(desktop->waitUntilGone(window->id())) << "the host's window stays";
    });
    EXPECT_TRUE(endsWithin(*korval, destroyed, 0, 1000));
}

struct SignalRow {
    const char* name;
    int number;
};

class TerminationSignal : public HostWindowTest, public ::testing::WithParamInterface<SignalRow> {};

TEST_P(TerminationSignal, EndsItWithinHalfASecondWithStatusZero)
{
    auto window = makeWindow(QRect(0, 0, 300, 200));
    auto korval = startIn(*window);
    ASSERT_GE(greenInEachQuarter(desktop->waitForRain(window->geometry(), 20), window->geometry()), 20);
    const Sent signal = send([&] { korval->signal(GetParam().number); });
    EXPECT_TRUE(endsWithin(*korval, signal, 0, 500)) << korval->errorOutput().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Host, TerminationSignal,
                         ::testing::Values(SignalRow{"term", SIGTERM}, SignalRow{"interrupt", SIGINT},
                                           SignalRow{"hangUp", SIGHUP}),
                         [](const auto& info) { return std::string(info.param.name); });

struct HostVariableRow {
    const char* name;
    const char* rootSwitch;
    bool decimal;
};

class HostNamesTheWindow : public HostWindowTest, public ::testing::WithParamInterface<HostVariableRow> {};

// XScreenSaver writes the id in hexadecimal, xsecurelock in decimal.
TEST_P(HostNamesTheWindow, InXscreensaverWindow)
{
    const QRect area(200, 100, 300, 200);
    auto window = makeWindow(area);
    QProcessEnvironment environment = this->environment();
    environment.insert(QStringLiteral("XSCREENSAVER_WINDOW"), GetParam().decimal ? window->decimalId() : window->hexadecimalId());
    auto korval = start({QString::fromLatin1(GetParam().rootSwitch)}, environment);

    const QImage screen = desktop->waitForRain(area, 20);
    EXPECT_GE(greenInEachQuarter(screen, area), 20) << korval->errorOutput().toStdString();
    EXPECT_EQ(greenOutside(screen, area), 0);
}

INSTANTIATE_TEST_SUITE_P(Host, HostNamesTheWindow,
                         ::testing::Values(HostVariableRow{"hexadecimal", "-root", false},
                                           HostVariableRow{"decimal", "--root", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HostWindowTest, RootWithoutAHostWindowDrawsOnTheWholeScreen)
{
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto korval = start(QStringLiteral("--root"));
    EXPECT_GE(greenInEachQuarter(desktop->waitForRain(kScreen, 100), kScreen), 100) << korval->errorOutput().toStdString();
    EXPECT_EQ(watcher.mapsSoFar(), 0);
}

TEST_F(HostWindowTest, TwoInstancesRainInTwoWindowsAtOnce)
{
    auto left = makeWindow(QRect(0, 0, 300, 200));
    auto right = makeWindow(QRect(500, 400, 300, 200));
    auto first = startIn(*left);
    auto second = startIn(*right);
    desktop->waitForRain(left->geometry(), 20);
    const QImage screen = desktop->waitForRain(right->geometry(), 20);
    EXPECT_GE(greenInEachQuarter(screen, left->geometry()), 20);
    EXPECT_GE(greenInEachQuarter(screen, right->geometry()), 20);
    EXPECT_TRUE(first->isRunning());
    EXPECT_TRUE(second->isRunning());
}

// xsecurelock runs its saver module with the window in $XSCREENSAVER_WINDOW.
TEST_F(HostWindowTest, XsecurelockModuleDrawsInTheWindowItIsGiven)
{
    const QRect area(100, 100, 300, 200);
    auto window = makeWindow(area);
    QProcessEnvironment environment = this->environment();
    environment.insert(QStringLiteral("XSCREENSAVER_WINDOW"), window->decimalId());
    environment.insert(QStringLiteral("PATH"), QFileInfo(QStringLiteral(KORVAL_BINARY)).absolutePath()
                                                   + QLatin1Char(':') + environment.value(QStringLiteral("PATH")));
    QProcess module;
    module.setProcessEnvironment(environment);
    module.start(QStringLiteral("sh"), {QStringLiteral(KORVAL_SOURCE_DIR "/data/saver_korval")});
    ASSERT_TRUE(module.waitForStarted(5000));

    const QImage screen = desktop->waitForRain(area, 20);
    EXPECT_GE(greenInEachQuarter(screen, area), 20) << module.readAllStandardError().toStdString();
    EXPECT_EQ(greenOutside(screen, area), 0);
    module.terminate(); // the module is korval itself by now
    EXPECT_TRUE(module.waitForFinished(1000));
    EXPECT_EQ(module.exitCode(), 0);
}

struct RefusalRow {
    const char* name;
    QStringList arguments;
    const char* variable; // KORVAL_XRENDER, or nullptr
    int status;
    const char* message;
};

class HostModeRefuses : public HostWindowTest, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(HostModeRefuses, WithAMessageOnStandardErrorAndNoWindow)
{
    const RefusalRow& row = GetParam();
    user.store(settings::kWidth, QStringLiteral("13"));
    const QByteArray storedBefore = [&] {
        QFile file(user.settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    auto window = makeWindow(QRect(0, 0, 300, 200));
    QStringList arguments = row.arguments;
    arguments.replaceInStrings(QStringLiteral("WINDOW"), window->hexadecimalId());
    QProcessEnvironment environment = this->environment();
    if (row.variable)
        environment.insert(QStringLiteral("KORVAL_XRENDER"), QString::fromLatin1(row.variable));
    MapWatcher watcher(environment);
    ASSERT_TRUE(watcher.isWatching());

    auto korval = start(arguments, environment);
    EXPECT_EQ(korval->waitForExit(5000), row.status) << "its own status, not a crash or a sanitizer report";
    const QString error = korval->errorOutput();
    EXPECT_TRUE(error.startsWith(QLatin1String("korval: "))) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromLatin1(row.message))) << error.toStdString();
    EXPECT_EQ(watcher.mapsAfterAllEnded(), 0) << "no message box";
    QFile file(user.settingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), storedBefore) << "the store is left as it was";
}

INSTANTIATE_TEST_SUITE_P(
    Host, HostModeRefuses,
    ::testing::Values(
        RefusalRow{"noSuchWindow", {QStringLiteral("--window-id"), QStringLiteral("0x1fffffff")}, nullptr, 1, "no window 0x1fffffff"},
        RefusalRow{"windowIdNotANumber", {QStringLiteral("--window-id"), QStringLiteral("nine")}, nullptr, 2, "names no window"},
        RefusalRow{"cellWidthNotANumber", {QStringLiteral("--window-id"), QStringLiteral("WINDOW"), QStringLiteral("--cell-width"), QStringLiteral("wide")}, nullptr, 1, "Type mismatch"},
        RefusalRow{"zeroCellHeight", {QStringLiteral("-window-id"), QStringLiteral("WINDOW"), QStringLiteral("-cell-height"), QStringLiteral("0")}, nullptr, 1, "Division by zero"},
        RefusalRow{"serverMayNotDraw", {QStringLiteral("--window-id"), QStringLiteral("WINDOW")}, "0", 1, "Render"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval::e2e
