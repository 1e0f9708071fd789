#include "WholeProgramTest.h"

#include "core/saver/Palette.h"

#include <QElapsedTimer>
#include <QProcess>

namespace korval::e2e {
namespace {

constexpr QRgb kHead = HEAD_COLOUR & RGB_MASK;

// With the default 13 x 18 cells on 1024 x 768 the full rows end at 756 and
// the edge column starts at 1014: below the rows and left of it no cell lies.
const QRect kEmptyStrip(0, 756, 1014, 12);
const QRect kRows(0, 0, 1014, 756);

// The banner's frame is 185 x 33 pixels at (419.5, 367.5), drawn at (420, 368).
bool bannerFrameShown(const QImage& screen)
{
    if (screen.isNull())
        return false;
    const QPoint border[] = {{420, 384}, {604, 384}, {512, 368}, {512, 400}};
    for (const QPoint& point : border) {
        if ((screen.pixel(point) & RGB_MASK) != kHead)
            return false;
    }
    return true;
}

TEST_F(WholeProgramTest, PreviewEndsAtOnceWithoutAWindow)
{
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto preview = start(QStringLiteral("/p 4242"));
    EXPECT_EQ(preview->waitForExit(5000), 0);
    EXPECT_EQ(watcher.stopAndCountMaps(), 0);
}

TEST_F(WholeProgramTest, UnknownSwitchEndsWithoutAWindow)
{
    MapWatcher watcher(environment());
    ASSERT_TRUE(watcher.isWatching());
    auto unknown = start(QStringLiteral("/x"));
    EXPECT_EQ(unknown->waitForExit(5000), 2);
    EXPECT_TRUE(unknown->errorOutput().contains(QLatin1String("usage")));
    EXPECT_EQ(watcher.stopAndCountMaps(), 0);
}

TEST_F(WholeProgramTest, SaverCoversTheScreenWithGlyphRain)
{
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    EXPECT_EQ(desktop->visibleWindows(QStringLiteral(".")).size(), 1) << "one window, nothing else";
    EXPECT_EQ(desktop->geometry(saverWindow), QRect(0, 0, VirtualDisplay::kWidth, VirtualDisplay::kHeight));

    QImage screen;
    QElapsedTimer clock;
    clock.start();
    do {
        screen = desktop->screenshot();
        ASSERT_FALSE(screen.isNull()) << "no screenshot";
    } while (countGreen(screen, kRows) < 200 && clock.elapsed() < 1000);
    EXPECT_GE(countGreen(screen, kRows), 200) << "green glyphs within a second";
    EXPECT_EQ(countGreen(screen, kEmptyStrip), 0) << "nothing below the last full row";
    EXPECT_TRUE(saver->isRunning());
}

TEST_F(WholeProgramTest, KeyShowsTheBannerAndTheSaverEndsTwoSecondsLater)
{
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    QElapsedTimer sinceKey;
    desktop->key(QStringLiteral("a"));
    sinceKey.start();

    QImage screen;
    do
        screen = desktop->screenshot();
    while (!bannerFrameShown(screen) && sinceKey.elapsed() < 1500);
    ASSERT_TRUE(bannerFrameShown(screen)) << "the frame in HEAD_COLOUR round the screen's centre";
    EXPECT_GT(countGreen(screen, QRect(425, 372, 175, 24)), 100) << "the caption inside it";

    while (sinceKey.elapsed() < 1200)
        QThread::msleep(20);
    EXPECT_TRUE(saver->isRunning()) << "the banner stays for two seconds";
    EXPECT_EQ(saver->waitForExit(5000), 0) << "then the saver ends on its own";
    EXPECT_GE(sinceKey.elapsed(), 1500);
    EXPECT_FALSE(user.lockLeft());
}

TEST_F(WholeProgramTest, BannerSwitchedOffEndsAtTheFirstKey)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    EXPECT_TRUE(user.lockLeft()) << "the running saver holds the lock";
    desktop->key(QStringLiteral("space"));
    EXPECT_EQ(saver->waitForExit(1500), 0);
    EXPECT_FALSE(user.lockLeft()) << "the lock goes with the program";
}

TEST_F(WholeProgramTest, KeysWithoutACharacterDoNothing)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    for (const char* key : {"shift", "ctrl", "alt", "Left", "F1"})
        desktop->key(QString::fromLatin1(key));
    EXPECT_FALSE(saver->waitForExit(500)) << "still running";
    desktop->key(QStringLiteral("Escape"));
    EXPECT_EQ(saver->waitForExit(1500), 0);
}

TEST_F(WholeProgramTest, EighthMouseMoveEndsTheSaver)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    for (int move = 1; move <= 7; ++move) {
        desktop->mouseMove(100 + move * 40, 100 + move * 30);
        QThread::msleep(100); // one move event each, none merged
    }
    EXPECT_FALSE(saver->waitForExit(500)) << "seven moves leave it running";
    desktop->mouseMove(700, 500);
    EXPECT_EQ(saver->waitForExit(1500), 0);
}

TEST_F(WholeProgramTest, MovesOverTheEmptyStripDoNotCount)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    for (int move = 1; move <= 10; ++move) {
        desktop->mouseMove(move * 50, 760 + move % 2 * 4);
        QThread::msleep(40);
    }
    EXPECT_FALSE(saver->waitForExit(500));
    desktop->click(); // a click on the strip does nothing either
    EXPECT_FALSE(saver->waitForExit(300));
}

TEST_F(WholeProgramTest, ClickOnACellEndsTheSaver)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    desktop->mouseMove(1019, 100); // the edge column
    desktop->click();
    EXPECT_EQ(saver->waitForExit(1500), 0);
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
    QElapsedTimer clock;
    clock.start();
    while ((windows = desktop->visibleWindows(QStringLiteral("^KORVAL$"))).size() < 2 && clock.elapsed() < 5000)
        QThread::msleep(50);
    windows.removeAll(saverWindow);
    ASSERT_EQ(windows.size(), 1) << "one message box beside the saver";
    EXPECT_TRUE(saver->isRunning());
    desktop->key(QStringLiteral("Return"));
    EXPECT_EQ(saver->waitForExit(3000), 1);
}

// Another program's window on the saver's display: xev, which prints every
// key that reaches its white window.
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
    int keysReceived()
    {
        output_ += xev_.readAllStandardOutput();
        return static_cast<int>(output_.count("KeyPress event"));
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
    const auto other = desktop->waitForWindow(QStringLiteral("^Event Tester$"), 5000);
    ASSERT_TRUE(other.has_value());
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    desktop->focus(*other);
    QThread::msleep(100);
    desktop->type(QStringLiteral("ls"));
    desktop->key(QStringLiteral("Return"));
    EXPECT_EQ(saver->waitForExit(4000), 0) << "the banner, then the end";
    EXPECT_EQ(terminal.keysReceived(), 0) << "the other window got the keys";
}

// A window that another program maps while the saver runs shows below it.
TEST_F(WholeProgramTest, AWindowMappedLaterStaysBelowTheSaver)
{
    user.store(settings::kSystem, QStringLiteral("0"));
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    const QRect area(100, 100, 300, 200);
    OtherWindow later(environment(), area);
    ASSERT_TRUE(desktop->waitForWindow(QStringLiteral("^Event Tester$"), 5000).has_value());
    QImage screen;
    QElapsedTimer clock;
    clock.start();
    do
        screen = desktop->screenshot();
    while (whitePixels(screen, area) > 0 && clock.elapsed() < 2000);
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
    const auto box = desktop->waitForWindow(QStringLiteral("^KORVAL$"), 5000);
    ASSERT_TRUE(box.has_value()) << "no message box";
    EXPECT_EQ(desktop->title(*box), QStringLiteral("KORVAL"));
    EXPECT_LT(desktop->geometry(*box).width(), VirtualDisplay::kWidth / 2) << "a box, not the saver";
    EXPECT_TRUE(saver->isRunning()) << "waits for the user";

    desktop->focus(*box);
    desktop->key(QStringLiteral("Return"));
    const auto status = saver->waitForExit(3000);
    ASSERT_TRUE(status.has_value()) << "the box does not close";
    EXPECT_EQ(*status, 1) << "the program's own failure status, not a crash or a sanitizer report";
    EXPECT_FALSE(user.lockLeft());
    EXPECT_EQ(user.stored(settings::kWidth), QString::fromLatin1(GetParam().width)) << "stored data kept";
}

INSTANTIATE_TEST_SUITE_P(WholeProgram, UnusableSetting,
                         ::testing::Values(UnusableSettingRow{"wordAsWidth", "abc"}, UnusableSettingRow{"zeroWidth", "0"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval::e2e
