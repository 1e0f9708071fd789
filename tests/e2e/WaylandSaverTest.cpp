// The program in a Wayland session: sway on its headless backend, run as an
// unprivileged user, with no X display at all. The program is given
// WAYLAND_DISPLAY alone and picks the Wayland platform by itself. The
// screen is read with grim, keys are sent with wtype, and the pointer is a
// virtual pointer device of korval_wayland_pointer's.

#include "BannerWatch.h"
#include "ProgramTest.h"
#include "WaylandSession.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <functional>

namespace korval::e2e {
namespace {

constexpr int kPatienceMs = DesktopDriver::kPatienceMs;
const QString kFirst = QStringLiteral("HEADLESS-1");
const QString kSecond = QStringLiteral("HEADLESS-2");

// Pixels of sway's pointer in an area: its arrow is black and white, where
// the saver shows only black and greens.
int pointerPixels(const QImage& screen, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qRed(screen.pixel(x, y)) >= 128 && qBlue(screen.pixel(x, y)) >= 128 ? 1 : 0;
    return count;
}

QString saverOn(const QString& output)
{
    return QStringLiteral("KORVAL@") + output + QStringLiteral(" fullscreen");
}

class WaylandSaverTest : public ProgramTest {
protected:
    void SetUp() override
    {
        if (const QString tool = WaylandSession::missingTool(); !tool.isEmpty())
            GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/install-deps.sh installs it)";
        if (!WaylandSession::hasUser())
            GTEST_SKIP() << "no user korval-test to run sway as (scripts/install-deps.sh makes it)";
        ASSERT_TRUE(user.isValid());
    }

    void startSession(int outputs, WaylandSession::Outputs kind = WaylandSession::Outputs::Fixed)
    {
        session = std::make_unique<WaylandSession>(outputs, kind);
        ASSERT_TRUE(session->isReady()) << session->error().toStdString();
    }

    // A session whose seat has a pointer from before the saver starts.
    void startSessionWithPointer(int outputs, WaylandSession::Outputs kind = WaylandSession::Outputs::Fixed)
    {
        ASSERT_NO_FATAL_FAILURE(startSession(outputs, kind));
        ASSERT_TRUE(session->addPointer()) << "the seat has no pointer from korval_wayland_pointer";
    }

    QProcessEnvironment waylandEnvironment() const { return session->clientEnvironment(user.environment({})); }

    // Starts the saver and waits, on the clock, until a fullscreen window of
    // its own shows rain in every quarter of each given output.
    std::unique_ptr<KorvalProcess> startSaver(const QList<QRect>& outputs, const QStringList& windows)
    {
        auto saver = start({QStringLiteral("/s")}, waylandEnvironment());
        EXPECT_TRUE(waitForRain(outputs, windows, [&] { return saver->isRunning(); },
                                [&] { return saver->errorOutput(); }));
        return saver;
    }

    ::testing::AssertionResult waitForRain(const QList<QRect>& outputs, const QStringList& windows,
                                           const std::function<bool()>& running,
                                           const std::function<QString()>& said)
    {
        const qint64 from = clock.elapsed();
        const QDeadlineTimer deadline(kPatienceMs);
        QStringList shown;
        QList<int> green;
        do {
            shown = session->windows();
            const QImage screen = session->screenshot();
            green.clear();
            for (const QRect& output : outputs)
                green << (screen.isNull() ? -1 : greenInEachQuarter(screen, output));
            if (shown == windows && std::all_of(green.begin(), green.end(), [](int count) { return count >= 100; }))
                return ::testing::AssertionSuccess();
            QThread::msleep(DesktopDriver::kSampleGapMs);
        } while (!deadline.hasExpired() && running());
        QStringList counts;
        for (int count : green)
            counts << QString::number(count);
        return ::testing::AssertionFailure()
               << "after " << clock.elapsed() - from << " ms the windows are [" << shown.join(QStringLiteral(", ")).toStdString()
               << "] instead of [" << windows.join(QStringLiteral(", ")).toStdString()
               << "], the fewest glyph pixels in a quarter of each output " << counts.join(QLatin1Char(' ')).toStdString()
               << " (100 wanted); running: " << running()
               << "; stderr: " << said().toStdString() << "\nsway:\n" << session->log().toStdString();
    }

    // Whether the saver runs on after an input that should do nothing: it
    // shows new pictures in the area, so it has gone round its event loop
    // past what sway sent it before; then it is given a moment more, in
    // case it ends on the input but slowly.
    ::testing::AssertionResult runsOnAfterTheInput(KorvalProcess& saver, const QRect& area)
    {
        constexpr int kPictures = 3;
        int seen = 0;
        QImage last = session->screenshot().copy(area);
        const QDeadlineTimer deadline(kPatienceMs);
        while (seen < kPictures && !deadline.hasExpired() && saver.isRunning()) {
            const QImage now = session->screenshot().copy(area);
            if (!now.isNull() && now != last)
                ++seen;
            last = now;
            QThread::msleep(DesktopDriver::kSampleGapMs);
        }
        if (seen < kPictures)
            return ::testing::AssertionFailure() << "the rain stopped or the saver ended: " << seen
                                                 << " new pictures; running: " << saver.isRunning();
        if (saver.waitForExit(300))
            return ::testing::AssertionFailure() << "it ended";
        return ::testing::AssertionSuccess();
    }

    Sent key(const QString& name)
    {
        return send([&] { EXPECT_TRUE(session->keys({QStringLiteral("-k"), name})) << "wtype failed"; });
    }

    std::unique_ptr<WaylandSession> session;
};

TEST_F(WaylandSaverTest, RainOnEachOfTwoOutputsAndAKeyEndsIt)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    startSession(2);
    auto saver = startSaver({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                            {saverOn(kFirst), saverOn(kSecond)});
    ASSERT_TRUE(saver->isRunning()) << saver->errorOutput().toStdString();
    EXPECT_TRUE(user.lockLeft()) << "the running saver holds the lock";
    const Sent sent = key(QStringLiteral("a"));
    EXPECT_TRUE(endsWithin(*saver, sent, 0, 1500));
    EXPECT_FALSE(user.lockLeft()) << "the lock goes with the program";
    EXPECT_FALSE(saver->errorOutput().contains(QLatin1String("korval:"))) << saver->errorOutput().toStdString();
}

// Samples of the screen from the key to the end, each stamped with the time
// grim delivered it: the rain is frozen under the banner, and the end comes
// two seconds after the key.
TEST_F(WaylandSaverTest, KeyShowsTheBannerAndTheSaverEndsTwoSecondsLater)
{
    startSession(1);
    auto saver = startSaver({WaylandSession::kFirstOutput}, {saverOn(kFirst)});
    ASSERT_TRUE(saver->isRunning());
    const Sent sent = key(QStringLiteral("a"));
    const BannerWatch watch = watchBanner(
        sent.from, sent.by, [&] { return session->screenshot(); }, [&] { return saver->isRunning(); },
        [&] { return clock.elapsed(); }, kPatienceMs);
    expectBannerForTwoSeconds(watch);
    EXPECT_EQ(saver->waitForExit(kPatienceMs), 0) << "then the saver ends on its own";
    EXPECT_FALSE(user.lockLeft());
}

// An output plugged in while the saver runs gets a fullscreen window and
// rain of its own. (The headless backend of the sway that Debian 12 ships
// cannot take an output away: it refuses to disable one, and has no unplug.)
TEST_F(WaylandSaverTest, OutputAddedWhileItRunsGetsRain)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    startSession(1);
    auto saver = startSaver({WaylandSession::kFirstOutput}, {saverOn(kFirst)});
    ASSERT_TRUE(saver->isRunning());
    ASSERT_TRUE(session->command({QStringLiteral("create_output")}));
    EXPECT_TRUE(waitForRain({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                            {saverOn(kFirst), saverOn(kSecond)}, [&] { return saver->isRunning(); },
                            [&] { return saver->errorOutput(); }));
    const Sent sent = key(QStringLiteral("space"));
    EXPECT_TRUE(endsWithin(*saver, sent, 0, 1500));
}

// An output unplugged while the saver runs takes the saver's window with
// it, and the rain goes on on the other; plugged in again, it is covered
// with rain again.
TEST_F(WaylandSaverTest, OutputRemovedWhileItRunsLosesItsWindowAndComesBackWithRain)
{
    if (!WaylandSession::hasPointerTool())
        GTEST_SKIP() << "korval_wayland_pointer was not built (it needs libwayland-dev: scripts/install-deps.sh)";
    user.store(settings::kSystem, QStringLiteral("0"));
    // The pointer tool also counts the outputs that clients are offered.
    startSessionWithPointer(2, WaylandSession::Outputs::Removable);
    const QString first = session->outputName(1);
    const QString second = session->outputName(2);
    auto saver = startSaver({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                            {saverOn(first), saverOn(second)});
    ASSERT_TRUE(saver->isRunning());
    ASSERT_EQ(session->outputsOffered(), 2);

    ASSERT_TRUE(session->removeOutput(second)) << session->log().toStdString();
    EXPECT_EQ(session->outputsOffered(), 1) << "the output is gone for clients too";
    EXPECT_TRUE(waitForRain({WaylandSession::kFirstOutput}, {saverOn(first)}, [&] { return saver->isRunning(); },
                            [&] { return saver->errorOutput(); }));
    EXPECT_TRUE(runsOnAfterTheInput(*saver, WaylandSession::kFirstOutput)) << "the rain goes on on the first output";

    const QString again = session->addOutput();
    ASSERT_FALSE(again.isEmpty()) << "no new output at the second one's place\n" << session->log().toStdString();
    EXPECT_TRUE(waitForRain({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                            {saverOn(first), saverOn(again)}, [&] { return saver->isRunning(); },
                            [&] { return saver->errorOutput(); }));
    const Sent sent = key(QStringLiteral("a"));
    EXPECT_TRUE(endsWithin(*saver, sent, 0, 1500));
    EXPECT_TRUE(saver->errorOutput().isEmpty()) << saver->errorOutput().toStdString();
}

// A click on a cell of either output ends the saver, and the pointer is
// hidden over its windows: sway draws it over the bare desktop, and no
// longer once the saver covers it.
TEST_F(WaylandSaverTest, ClickOnACellOfEitherOutputEndsIt)
{
    if (!WaylandSession::hasPointerTool())
        GTEST_SKIP() << "korval_wayland_pointer was not built (it needs libwayland-dev: scripts/install-deps.sh)";
    user.store(settings::kSystem, QStringLiteral("0"));
    for (const QPoint& point : {QPoint(500, 300), QPoint(1400, 100)}) {
        SCOPED_TRACE(QStringLiteral("a click at (%1, %2)").arg(point.x()).arg(point.y()).toStdString());
        ASSERT_NO_FATAL_FAILURE(startSessionWithPointer(2));
        ASSERT_TRUE(session->pointTo(point));
        const QRect nearPointer(point, QSize(16, 16));
        EXPECT_GT(pointerPixels(session->screenshot(), nearPointer), 0) << "no pointer drawn over the bare desktop";
        auto saver = startSaver({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                                {saverOn(kFirst), saverOn(kSecond)});
        ASSERT_TRUE(saver->isRunning());
        EXPECT_EQ(pointerPixels(session->screenshot(), nearPointer), 0) << "the pointer shows over the saver";
        const Sent sent = send([&] { EXPECT_TRUE(session->click()); });
        EXPECT_TRUE(endsWithin(*saver, sent, 0, 1500));
    }
}

// Seven moves over the cells leave the saver running, and the eighth ends
// it: here over the second output, whose window is not the form's.
TEST_F(WaylandSaverTest, EighthMoveEndsItAndFewerDoNot)
{
    if (!WaylandSession::hasPointerTool())
        GTEST_SKIP() << "korval_wayland_pointer was not built (it needs libwayland-dev: scripts/install-deps.sh)";
    user.store(settings::kSystem, QStringLiteral("0"));
    startSessionWithPointer(2);
    // The saver's window appears under the resting pointer: no move yet.
    ASSERT_TRUE(session->pointTo({1100, 100}));
    auto saver = startSaver({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                            {saverOn(kFirst), saverOn(kSecond)});
    ASSERT_TRUE(saver->isRunning());
    // Each move waits until the saver has drawn past the one before.
    for (int move = 1; move <= 7; ++move) {
        ASSERT_TRUE(session->pointBy(20, 10));
        ASSERT_TRUE(runsOnAfterTheInput(*saver, WaylandSession::kSecondOutput)) << "after move " << move;
    }
    const Sent eighth = send([&] { EXPECT_TRUE(session->pointBy(20, 10)); });
    EXPECT_TRUE(endsWithin(*saver, eighth, 0, 1500));
}

// The moves count over both outputs together, the one that carries the
// pointer from one output's window into the other's too, which Qt on
// Wayland reports to the window it enters as an entering, not as a move.
TEST_F(WaylandSaverTest, MovesOverBothOutputsCountTogether)
{
    if (!WaylandSession::hasPointerTool())
        GTEST_SKIP() << "korval_wayland_pointer was not built (it needs libwayland-dev: scripts/install-deps.sh)";
    user.store(settings::kSystem, QStringLiteral("0"));
    startSessionWithPointer(2);
    ASSERT_TRUE(session->pointTo({300, 200}));
    auto saver = startSaver({WaylandSession::kFirstOutput, WaylandSession::kSecondOutput},
                            {saverOn(kFirst), saverOn(kSecond)});
    ASSERT_TRUE(saver->isRunning());
    // The fourth move crosses to the second output.
    const QList<QPoint> moves = {{20, 10}, {20, 10}, {20, 10}, {1000, 0}, {20, 10}, {20, 10}, {20, 10}};
    for (int move = 1; move <= moves.size(); ++move) {
        ASSERT_TRUE(session->pointBy(moves[move - 1].x(), moves[move - 1].y()));
        ASSERT_TRUE(runsOnAfterTheInput(*saver, WaylandSession::kFirstOutput)) << "after move " << move;
    }
    const Sent eighth = send([&] { EXPECT_TRUE(session->pointBy(20, 10)); });
    EXPECT_TRUE(endsWithin(*saver, eighth, 0, 1500));
}

// Started as the README tells a sway user to: swayidle runs it once the
// session has been idle for the timeout, and a key ends it.
TEST_F(WaylandSaverTest, SwayidleStartsItWhenTheSessionIsIdle)
{
    if (missingTool({"swayidle"}) == QLatin1String("swayidle"))
        GTEST_SKIP() << "swayidle is not installed (scripts/install-deps.sh installs it)";
    user.store(settings::kSystem, QStringLiteral("0"));
    startSession(1);
    QProcess idle;
    idle.setProcessEnvironment(waylandEnvironment());
    idle.setProcessChannelMode(QProcess::MergedChannels);
    idle.start(QStringLiteral("swayidle"), {QStringLiteral("-w"), QStringLiteral("timeout"), QStringLiteral("1"),
                                            QStringLiteral("'" KORVAL_BINARY "' /s")});
    ASSERT_TRUE(idle.waitForStarted(5000));
    const bool shown = waitForRain({WaylandSession::kFirstOutput}, {saverOn(kFirst)},
                                   [&] { return idle.state() == QProcess::Running; },
                                   [&] { return QString::fromLocal8Bit(idle.readAll()); });
    // swayidle goes first, so that it starts no saver again once this one
    // ends. While it waits for its command (-w) it leaves a SIGTERM for later.
    idle.kill();
    idle.waitForFinished(3000);
    ASSERT_TRUE(shown);
    ASSERT_TRUE(session->keys({QStringLiteral("-k"), QStringLiteral("a")}));
    const QDeadlineTimer deadline(kPatienceMs);
    while (!session->windows().isEmpty() && !deadline.hasExpired())
        QThread::msleep(DesktopDriver::kSampleGapMs);
    EXPECT_TRUE(session->windows().isEmpty()) << "still shown " << kPatienceMs << " ms after the key";
    EXPECT_FALSE(user.lockLeft()) << "the saver has not ended";
}

// The dialog comes up as a window of its own, takes the keyboard, and OK
// stores what was typed.
TEST_F(WaylandSaverTest, OptionsDialogOpensAndStoresAValue)
{
    user.store(settings::kTextSize, QStringLiteral("10"));
    user.store(settings::kWidth, QStringLiteral("13"));
    user.store(settings::kHeight, QStringLiteral("18"));
    startSession(1);
    auto dialog = start({QStringLiteral("/c")}, waylandEnvironment());
    const QString shown = QStringLiteral("OPTION KORVAL@") + kFirst;
    const QDeadlineTimer deadline(kPatienceMs);
    while (!session->windows().contains(shown) && !deadline.hasExpired() && dialog->isRunning())
        QThread::msleep(DesktopDriver::kSampleGapMs);
    ASSERT_TRUE(session->windows().contains(shown))
        << "windows [" << session->windows().join(QStringLiteral(", ")).toStdString()
        << "]; stderr: " << dialog->errorOutput().toStdString();

    // The focus starts in the font-size list; Tab visits the column gap and
    // then OK.
    const QString ctrl = QStringLiteral("ctrl");
    ASSERT_TRUE(session->keys({QStringLiteral("-k"), QStringLiteral("Tab"), QStringLiteral("-M"), ctrl,
                               QStringLiteral("a"), QStringLiteral("-m"), ctrl, QStringLiteral("40"),
                               QStringLiteral("-k"), QStringLiteral("Tab"), QStringLiteral("-k"), QStringLiteral("Tab"),
                               QStringLiteral("-k"), QStringLiteral("space")}));
    ASSERT_EQ(dialog->waitForExit(kPatienceMs), 0) << "OK ends the dialog; stderr: " << dialog->errorOutput().toStdString();
    // The natural width of "M" at 10 points plus the typed gap; the row
    // gap, left alone, keeps the height it had.
    const int width = user.stored(settings::kWidth).toInt();
    EXPECT_GT(width - 40, 2) << "stored width " << width;
    EXPECT_LT(width - 40, 40) << "stored width " << width;
    EXPECT_EQ(user.stored(settings::kTextSize), QStringLiteral("10"));
}

} // namespace
} // namespace korval::e2e
