// The saver on several monitors of a real X server (Xorg with the dummy
// driver), and monitors that change while it runs. The desktop behind the
// saver is painted magenta, so that a strip the saver leaves uncovered shows.

#include "MultiMonitorTest.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <functional>

namespace korval::e2e {
namespace {

constexpr QRgb kDesktop = 0xFF00FF; // magenta
const QString kSecond = QStringLiteral("DUMMY1");
const QRect kRight(1920, 0, 1920, 1080);

class SaverMonitors : public MultiMonitorTest {
protected:
    void SetUp() override
    {
        MultiMonitorTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        QProcess xsetroot;
        xsetroot.setProcessEnvironment(environment());
        xsetroot.start(QStringLiteral("xsetroot"), {QStringLiteral("-solid"), QStringLiteral("#ff00ff")});
        ASSERT_TRUE(xsetroot.waitForFinished(5000) && xsetroot.exitCode() == 0) << "xsetroot paints the desktop";
        user.store(settings::kSystem, QStringLiteral("0"));
    }

    // The desktop, taken again until the condition holds or the time is up.
    // How soon the saver follows a change is no matter here, so the test
    // waits as long as a busy machine may need.
    QImage shotUntil(const std::function<bool(const QImage&)>& condition)
    {
        const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
        QImage shot;
        do
            shot = desktop->desktopShot();
        while (!shot.isNull() && !condition(shot) && !deadline.hasExpired());
        return shot;
    }

    // The desktop's pixels that show on a monitor and not under the saver.
    int uncovered(const QImage& shot)
    {
        int count = 0;
        for (const Monitor& monitor : display().monitors()) {
            const QRect area = monitor.geometry & shot.rect();
            for (int y = area.top(); y <= area.bottom(); ++y) {
                const auto* line = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
                for (int x = area.left(); x <= area.right(); ++x)
                    count += (line[x] & RGB_MASK) == kDesktop ? 1 : 0;
            }
        }
        return count;
    }

    // Every monitor covered, and each of the given areas showing rain.
    bool rainEverywhere(const QImage& shot, std::initializer_list<QRect> areas)
    {
        if (shot.isNull() || uncovered(shot) > 0)
            return false;
        return std::all_of(areas.begin(), areas.end(), [&](const QRect& area) { return countGreen(shot, area) >= 200; });
    }

    bool enableSecond(const QRect& place = kRight)
    {
        const bool done = display().enable(kSecond, place);
        EXPECT_TRUE(done) << display().error().toStdString();
        return done;
    }
};

const QRect kLeftRows(0, 0, 1911, 1080);
const QRect kRightRows(1920, 0, 1911, 1080);

TEST_F(SaverMonitors, TwoMonitorsBothShowRainAndOneKeyEndsIt)
{
    ASSERT_TRUE(enableSecond());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    const QImage shot = shotUntil([this](const QImage& shot) { return rainEverywhere(shot, {kLeftRows, kRightRows}); });
    EXPECT_EQ(uncovered(shot), 0) << "both monitors covered";
    EXPECT_GE(countGreen(shot, kRightRows), 200) << "rain on the second monitor";
    const Sent key = send([&] { desktop->key(QStringLiteral("a")); });
    EXPECT_TRUE(endsWithin(*saver, key, 0, 2000)) << "one key ends the saver on every monitor";
}

// The saver holds the pointer, yet a click or a movement over another
// monitor's cells counts as one over the primary monitor's.
TEST_F(SaverMonitors, ClicksAndMovesCountOnEveryMonitor)
{
    ASSERT_TRUE(enableSecond());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    // Moves that wait in the saver's queue together count as one, so each
    // waits until the saver has handled the one before.
    for (int move = 1; move <= 7; ++move) {
        desktop->mouseMove(move % 2 ? 2000 + move * 40 : 100 + move * 40, 300 + move * 20);
        ASSERT_TRUE(runsOnAfterTheInput(*saver, kLeftRows)) << "seven moves over both monitors leave it running";
    }
    const Sent eighth = send([&] { desktop->mouseMove(2600, 700); });
    EXPECT_TRUE(endsWithin(*saver, eighth, 0, 1500)) << "the eighth, on the second monitor, ends it";
    saver.reset();

    auto clicked = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    desktop->mouseMove(3000, 500);
    const Sent click = send([&] { desktop->click(); });
    EXPECT_TRUE(endsWithin(*clicked, click, 0, 1500)) << "a click on the second monitor's cells ends it";
}

TEST_F(SaverMonitors, AMonitorSwitchedOnWhileTheSaverRunsGetsRain)
{
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    ASSERT_TRUE(enableSecond());
    QElapsedTimer sinceChange;
    sinceChange.start();
    const QImage shot = shotUntil([this](const QImage& shot) { return rainEverywhere(shot, {kLeftRows, kRightRows}); });
    std::printf("covered %lld ms after the monitor came\n", static_cast<long long>(sinceChange.elapsed()));
    EXPECT_EQ(uncovered(shot), 0);
    EXPECT_GE(countGreen(shot, kRightRows), 200);
    EXPECT_TRUE(saver->isRunning());
}

TEST_F(SaverMonitors, AResolutionChangeLeavesNoUncoveredStrip)
{
    ASSERT_TRUE(enableSecond());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    // The primary monitor grows; the second one moves to its new right edge.
    ASSERT_TRUE(display().enable(QStringLiteral("DUMMY0"), QRect(0, 0, 2560, 1440)))
        << display().error().toStdString();
    ASSERT_TRUE(display().setGeometry(kSecond, QRect(2560, 0, 1920, 1080))) << display().error().toStdString();
    const QRect grownRows(0, 0, 2548, 1440); // 196 columns of 13, 80 rows of 18
    const QImage shot = shotUntil([&](const QImage& shot) {
        return rainEverywhere(shot, {grownRows, QRect(2560, 0, 1911, 1080)})
               && countGreen(shot, QRect(1920, 1080, 628, 360)) > 0; // where the old grid ended
    });
    EXPECT_EQ(uncovered(shot), 0);
    EXPECT_GT(countGreen(shot, QRect(1920, 1080, 628, 360)), 0) << "rain in the grown corner";
    EXPECT_TRUE(saver->isRunning());
}

TEST_F(SaverMonitors, AMonitorSwitchedOffAndOnAgainIsCoveredAgain)
{
    ASSERT_TRUE(enableSecond());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    ASSERT_TRUE(display().disable(kSecond)) << display().error().toStdString();
    EXPECT_TRUE(runsOnAfterTheInput(*saver, kLeftRows)) << "the saver runs on without it";
    ASSERT_TRUE(enableSecond());
    const QImage shot = shotUntil([this](const QImage& shot) { return rainEverywhere(shot, {kLeftRows, kRightRows}); });
    EXPECT_EQ(uncovered(shot), 0);
    EXPECT_GE(countGreen(shot, kRightRows), 200);
}

// Every monitor asleep for a while: the saver neither crashes nor ends, and
// covers the monitors that wake up.
TEST_F(SaverMonitors, EveryMonitorAsleepForAWhile)
{
    ASSERT_TRUE(enableSecond());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    ASSERT_TRUE(display().disable(kSecond)) << display().error().toStdString();
    ASSERT_TRUE(display().disable(QStringLiteral("DUMMY0"))) << display().error().toStdString();
    // No monitor shows what the saver does meanwhile, so it is given a
    // second to crash or end.
    QThread::msleep(1000);
    EXPECT_TRUE(saver->isRunning()) << saver->errorOutput().toStdString();
    ASSERT_TRUE(display().enable(QStringLiteral("DUMMY0"), QRect(0, 0, 1920, 1080)))
        << display().error().toStdString();
    ASSERT_TRUE(enableSecond());
    const QImage shot = shotUntil([this](const QImage& shot) { return rainEverywhere(shot, {kLeftRows, kRightRows}); });
    EXPECT_EQ(uncovered(shot), 0);
    EXPECT_GE(countGreen(shot, kLeftRows), 200);
    EXPECT_GE(countGreen(shot, kRightRows), 200);
    const Sent key = send([&] { desktop->key(QStringLiteral("a")); });
    EXPECT_TRUE(endsWithin(*saver, key, 0, 2000)) << "and still ends on a key";
}

// The banner shows in the middle of the primary monitor, whichever it is.
TEST_F(SaverMonitors, TheBannerShowsOnTheNewPrimaryMonitor)
{
    user.store(settings::kSystem, QStringLiteral("1"));
    ASSERT_TRUE(enableSecond());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    ASSERT_TRUE(display().setPrimary(kSecond)) << display().error().toStdString();
    // The saver learns of the new primary monitor from the server, before
    // it draws its next pictures.
    ASSERT_TRUE(runsOnAfterTheInput(*saver, kRightRows));
    desktop->key(QStringLiteral("a"));
    // The frame's top border: 185 x 33 centred on the second monitor.
    const QRect frameTop(1920 + 960 - 92, 540 - 16, 185, 1);
    const QImage shot = shotUntil([&](const QImage& shot) {
        return countGreen(shot, frameTop) >= 180;
    });
    EXPECT_GE(countGreen(shot, frameTop), 180) << "the frame on the new primary monitor";
    EXPECT_LT(countGreen(shot, QRect(960 - 92, 540 - 16, 185, 1)), 180) << "none on the old one";
}

// A monitor at twice the pixel density is covered to its last pixel.
TEST_F(SaverMonitors, ADenseMonitorIsCoveredCompletely)
{
    ASSERT_TRUE(enableSecond());
    QProcessEnvironment scaled = environment();
    scaled.insert(QStringLiteral("QT_SCREEN_SCALE_FACTORS"), QStringLiteral("DUMMY0=1;DUMMY1=2"));
    KorvalProcess saver({QStringLiteral("/s")}, scaled);
    ASSERT_TRUE(saver.started());
    ASSERT_TRUE(desktop->waitForWindow(QStringLiteral("^KORVAL$"), DesktopDriver::kPatienceMs).has_value());
    const QImage shot = shotUntil([this](const QImage& shot) { return rainEverywhere(shot, {kLeftRows, kRightRows}); });
    EXPECT_EQ(uncovered(shot), 0);
    EXPECT_GE(countGreen(shot, kRightRows), 200);
}

// The form's window moves to the new primary monitor, which has twice the
// pixel density, and the other screen's window to the old one: both are
// repainted whole at their new ratios, and the banner is drawn there twice
// as large, centred on the monitor's 960 x 540 pixels.
TEST_F(SaverMonitors, AWindowMovedToAMonitorOfAnotherDensityIsDrawnAtItsRatio)
{
    user.store(settings::kSystem, QStringLiteral("1"));
    ASSERT_TRUE(enableSecond());
    QProcessEnvironment scaled = environment();
    scaled.insert(QStringLiteral("QT_SCREEN_SCALE_FACTORS"), QStringLiteral("DUMMY0=1;DUMMY1=2"));
    auto saver = startSaver(scaled);
    ASSERT_FALSE(saverWindow.isEmpty());
    ASSERT_TRUE(display().setPrimary(kSecond)) << display().error().toStdString();
    ASSERT_TRUE(runsOnAfterTheInput(*saver, kRightRows));
    const QImage rain = shotUntil([this](const QImage& shot) { return rainEverywhere(shot, {kLeftRows, kRightRows}); });
    EXPECT_EQ(uncovered(rain), 0);
    EXPECT_GE(countGreen(rain, kRightRows), 200);

    desktop->key(QStringLiteral("a"));
    // The frame's top border: 185 x 33 pixels at (388, 254) of the dense
    // monitor, 370 device pixels wide at (776, 508).
    const QRect frameTop(1920 + 776, 508, 370, 1);
    const QImage shot = shotUntil([&](const QImage& shot) { return countGreen(shot, frameTop) >= 360; });
    EXPECT_GE(countGreen(shot, frameTop), 360) << "the frame at twice its size on the dense monitor";
    EXPECT_LT(countGreen(shot, QRect(1920 + 388, 254, 185, 1)), 180) << "not at its size in pixels";
    EXPECT_LT(countGreen(shot, QRect(960 - 92, 540 - 16, 185, 1)), 180) << "none on the old primary monitor";
}

} // namespace
} // namespace korval::e2e
