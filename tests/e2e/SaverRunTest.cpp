#include "BannerWatch.h"
#include "WholeProgramTest.h"


#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <vector>

namespace korval::e2e {
namespace {

// With the default 13 x 18 cells on 1024 x 768 the full rows end at 756 and
// the edge column starts at 1014: below the rows and left of it no cell lies.
const QRect kEmptyStrip(0, 756, 1014, 12);
const QRect kRows(0, 0, 1014, 756);

TEST_F(WholeProgramTest, PreviewEndsAtOnceWithoutAWindow)
{
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto preview = start(QStringLiteral("/p 4242"));
    EXPECT_EQ(preview->waitForExit(5000), 0);
    EXPECT_EQ(watcher.mapsAfterAllEnded(), 0);
}

TEST_F(WholeProgramTest, UnknownSwitchEndsWithoutAWindow)
{
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto unknown = start(QStringLiteral("/x"));
    EXPECT_EQ(unknown->waitForExit(5000), 2);
    EXPECT_TRUE(unknown->errorOutput().contains(QLatin1String("usage")));
    EXPECT_EQ(watcher.mapsAfterAllEnded(), 0);
}

TEST_F(WholeProgramTest, SaverCoversTheScreenWithGlyphRain)
{
    // The watcher that finds no window in other tests finds this one.
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    EXPECT_EQ(watcher.mapsSoFar(), 1) << "one window mapped";
    EXPECT_EQ(desktop->visibleWindows(QStringLiteral(".")).size(), 1) << "one window, nothing else";
    EXPECT_EQ(desktop->geometry(saverWindow), QRect(0, 0, VirtualDisplay::kWidth, VirtualDisplay::kHeight));

    // The time is measured from the moment the saver held the input, to
    // the moment the server answered with the picture that showed the rain.
    QImage screen;
    const qint64 shown = clock.elapsed();
    qint64 rain = shown;
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    do {
        screen = desktop->screenshot();
        rain = clock.elapsed();
        ASSERT_FALSE(screen.isNull()) << "no screenshot";
    } while (countGreen(screen, kRows) < 200 && !deadline.hasExpired());
    ASSERT_GE(countGreen(screen, kRows), 200) << "no green glyphs";
    EXPECT_LE(rain - shown, 1000) << "green glyphs within a second";
    EXPECT_EQ(countGreen(screen, kEmptyStrip), 0) << "nothing below the last full row";
    EXPECT_TRUE(saver->isRunning());
}

// Samples of the screen from the key to the end, each stamped with the time
// the server answered it: the rain is frozen under the banner, and the end
// comes two seconds after the key.
TEST_F(WholeProgramTest, KeyShowsTheBannerAndTheSaverEndsTwoSecondsLater)
{
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    const Sent key = send([&] { desktop->key(QStringLiteral("a")); });
    const BannerWatch watch = watchBanner(
        key.from, key.by, [&] { return desktop->screenshot(); }, [&] { return saver->isRunning(); },
        [&] { return clock.elapsed(); }, DesktopDriver::kPatienceMs);
    expectBannerForTwoSeconds(watch);
    EXPECT_EQ(saver->waitForExit(DesktopDriver::kPatienceMs), 0) << "then the saver ends on its own";
    EXPECT_FALSE(user.lockLeft());
}

// On a screen at twice the pixel density the banner is drawn twice as
// large, framed and centred as at one device pixel per pixel (X Render puts
// it there as the backing store's painter would).
TEST_F(WholeProgramTest, KeyShowsTheBannerTwiceAsLargeAtTwoDevicePixelsPerPixel)
{
    QProcessEnvironment scaled = environment();
    scaled.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    auto saver = startSaver(scaled);
    ASSERT_FALSE(saverWindow.isEmpty());
    const Sent key = send([&] { desktop->key(QStringLiteral("a")); });
    const BannerWatch watch = watchBanner(
        key.from, key.by, [&] { return desktop->screenshot(); }, [&] { return saver->isRunning(); },
        [&] { return clock.elapsed(); }, DesktopDriver::kPatienceMs, 2.0);
    expectBannerForTwoSeconds(watch);
    EXPECT_EQ(saver->waitForExit(DesktopDriver::kPatienceMs), 0) << "then the saver ends on its own";
}

TEST_F(WholeProgramTest, BannerSwitchedOffEndsAtTheFirstKey)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    EXPECT_TRUE(user.lockLeft()) << "the running saver holds the lock";
    const Sent key = send([&] { desktop->key(QStringLiteral("space")); });
    EXPECT_TRUE(endsWithin(*saver, key, 0, 1500));
    EXPECT_FALSE(user.lockLeft()) << "the lock goes with the program";
}

TEST_F(WholeProgramTest, KeysWithoutACharacterDoNothing)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    for (const char* key : {"shift", "ctrl", "alt", "Left", "F1"})
        desktop->key(QString::fromLatin1(key));
    EXPECT_TRUE(runsOnAfterTheInput(*saver, kRows));
    const Sent escape = send([&] { desktop->key(QStringLiteral("Escape")); });
    EXPECT_TRUE(endsWithin(*saver, escape, 0, 1500));
}

TEST_F(WholeProgramTest, EighthMouseMoveEndsTheSaver)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    desktop->mouseMove(100, 100);
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    // The X server reports the first motion after the window is mapped under
    // the pointer even where the pointer stays put: that is no move.
    desktop->mouseMove(100, 100);
    ASSERT_TRUE(runsOnAfterTheInput(*saver, kRows)) << "after a report without motion";
    // Moves that wait in the saver's queue together count as one, so each
    // waits until the saver has handled the one before.
    for (int move = 1; move <= 7; ++move) {
        desktop->mouseMove(100 + move * 40, 100 + move * 30);
        ASSERT_TRUE(runsOnAfterTheInput(*saver, kRows)) << "after move " << move;
    }
    const Sent eighth = send([&] { desktop->mouseMove(700, 500); });
    EXPECT_TRUE(endsWithin(*saver, eighth, 0, 1500));
}

TEST_F(WholeProgramTest, MovesOverTheEmptyStripDoNotCount)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    for (int move = 1; move <= 10; ++move) {
        desktop->mouseMove(move * 50, 760 + move % 2 * 4);
        ASSERT_TRUE(runsOnAfterTheInput(*saver, kRows)) << "after move " << move;
    }
    desktop->click(); // a click on the strip does nothing either
    EXPECT_TRUE(runsOnAfterTheInput(*saver, kRows));
}

TEST_F(WholeProgramTest, ClickOnACellEndsTheSaver)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    desktop->mouseMove(1019, 100); // the edge column
    const Sent click = send([&] { desktop->click(); });
    EXPECT_TRUE(endsWithin(*saver, click, 0, 1500));
}

TEST_F(WholeProgramTest, SecondSaverEndsAtOnceAndTheFirstRunsOn)
{
    auto first = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    auto second = start(QStringLiteral("/s"));
    EXPECT_EQ(second->waitForExit(5000), 0);
    EXPECT_TRUE(first->isRunning());
    EXPECT_EQ(desktop->visibleWindows(QStringLiteral("^KORVAL$")), QStringList{saverWindow});
}

TEST_F(WholeProgramTest, BannerFlagThatIsNoNumberEndsWithAMessageBoxAtTheFirstKey)
{
    user.store(settings::kSystem, QStringLiteral("yes"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    desktop->key(QStringLiteral("a"));

    // The box comes up over the saver and takes the keyboard.
    QStringList windows;
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    while ((windows = desktop->visibleWindows(QStringLiteral("^KORVAL$"))).size() < 2 && !deadline.hasExpired())
        QThread::msleep(50);
    windows.removeAll(saverWindow);
    ASSERT_EQ(windows.size(), 1) << "one message box beside the saver";
    EXPECT_TRUE(saver->isRunning());
    const Sent answer = send([&] { desktop->key(QStringLiteral("Return")); });
    EXPECT_TRUE(endsWithin(*saver, answer, 1, 3000));
}

// Another program's window on the saver's display: xev, which prints every
// event that reaches its white window, in the order they came.
class OtherWindow {
public:
    OtherWindow(const QProcessEnvironment& environment, const QRect& geometry)
    {
        xev_.setProcessEnvironment(environment);
        xev_.start(QStringLiteral("xev"), {QStringLiteral("-geometry"), QStringLiteral("%1x%2+%3+%4")
                                                                            .arg(geometry.width())
                                                                            .arg(geometry.height())
                                                                            .arg(geometry.x())
                                                                            .arg(geometry.y())});
        xev_.waitForStarted(5000);
    }
    ~OtherWindow()
    {
        xev_.kill();
        xev_.waitForFinished(3000);
    }
    // The keys that reached the window before a marker key that is typed to
    // it now: once xev has printed the marker, it has printed every key
    // that came before. Nothing if the marker does not come.
    std::optional<int> keysBeforeAMarker(const DesktopDriver& desktop, const QString& window)
    {
        static const QByteArray marker = "(keysym 0x78, x)";
        desktop.focus(window);
        if (!desktop.waitForFocus(window))
            return std::nullopt;
        desktop.key(QStringLiteral("x"));
        const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
        while (!output_.contains(marker) && !deadline.hasExpired()) {
            xev_.waitForReadyRead(100);
            output_ += xev_.readAllStandardOutput();
        }
        const qsizetype at = output_.indexOf(marker);
        if (at < 0)
            return std::nullopt;
        return static_cast<int>(output_.left(at).count("KeyPress event")) - 1; // the marker's own
    }

private:
    QProcess xev_;
    QByteArray output_;
};

int whitePixels(const QImage& screen, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += (screen.pixel(x, y) & RGB_MASK) == 0xFFFFFF ? 1 : 0;
    return count;
}

// Without a window manager nothing stops another program from taking the
// keyboard: a terminal given the focus while the saver runs would receive
// the keys typed to wake it, and run them as a command. The saver holds the
// keyboard instead.
TEST_F(WholeProgramTest, KeysTypedToWakeTheSaverReachNoOtherWindow)
{
    OtherWindow terminal(environment(), QRect(100, 100, 300, 200));
    const auto other = desktop->waitForWindow(QStringLiteral("^Event Tester$"), DesktopDriver::kPatienceMs);
    ASSERT_TRUE(other.has_value());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    desktop->focus(*other);
    ASSERT_TRUE(desktop->waitForFocus(*other)) << "the other window does not get the focus";
    desktop->type(QStringLiteral("ls"));
    const Sent enter = send([&] { desktop->key(QStringLiteral("Return")); });
    EXPECT_TRUE(endsWithin(*saver, enter, 0, 4000)) << "the banner, then the end";
    EXPECT_EQ(terminal.keysBeforeAMarker(*desktop, *other), 0) << "the other window got the keys";
}

// A window that another program maps while the saver runs shows below it.
TEST_F(WholeProgramTest, AWindowMappedLaterStaysBelowTheSaver)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    const QRect area(100, 100, 300, 200);
    OtherWindow later(environment(), area);
    ASSERT_TRUE(desktop->waitForWindow(QStringLiteral("^Event Tester$"), DesktopDriver::kPatienceMs).has_value());
    QImage screen;
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    do
        screen = desktop->screenshot();
    while (whitePixels(screen, area) > 0 && !deadline.hasExpired());
    EXPECT_EQ(whitePixels(screen, area), 0) << "the other window shows above the saver";
    EXPECT_TRUE(saver->isRunning());
}

struct UnusableSettingRow {
    const char* name;
    const char* width;
};

class UnusableSetting : public WholeProgramTest, public ::testing::WithParamInterface<UnusableSettingRow> {};

TEST_P(UnusableSetting, EndsWithAMessageBoxAndAFailureStatus)
{
    user.store(settings::kWidth, QString::fromLatin1(GetParam().width));
    auto saver = start(QStringLiteral("/s"));

    // Start-up fails before the saver window shows: the one window is the
    // message box, titled with the program's name.
    const auto box = desktop->waitForWindow(QStringLiteral("^KORVAL$"), DesktopDriver::kPatienceMs);
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(desktop->title(*box), QStringLiteral("KORVAL"));
    EXPECT_LT(desktop->geometry(*box).width(), VirtualDisplay::kWidth / 2) << "a box, not the saver";
    EXPECT_TRUE(saver->isRunning()) << "waits for the user";

    desktop->focus(*box);
    ASSERT_TRUE(desktop->waitForFocus(*box)) << "the box does not get the focus";
    const Sent answer = send([&] { desktop->key(QStringLiteral("Return")); });
    EXPECT_TRUE(endsWithin(*saver, answer, 1, 3000))
        << "the box closes and the program ends with its own failure status, not a crash or a sanitizer report";
    EXPECT_FALSE(user.lockLeft());
    EXPECT_EQ(user.stored(settings::kWidth), QString::fromLatin1(GetParam().width)) << "stored data kept";
}

INSTANTIATE_TEST_SUITE_P(WholeProgram, UnusableSetting,
                         ::testing::Values(UnusableSettingRow{"wordAsWidth", "abc"}, UnusableSettingRow{"zeroWidth", "0"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval::e2e
