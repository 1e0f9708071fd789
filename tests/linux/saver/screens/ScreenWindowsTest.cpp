// The saver on the offscreen platform's three screens (tests/support/
// screens-three.json): "primary" 1024 x 768 at (0, 0), "right" 800 x 600 to
// its right, "under" 1280 x 800 below it.

#include "support/FakePlatform.h"
#include "support/TempStore.h"

#include "saver/SaverForm.h"

#include "platform/DesktopPlatform.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;

TEST(ScreenWindows, ThePlatformListsEveryScreenThePrimaryFirst)
{
    const DesktopPlatform desktop(nullptr);
    const std::vector<ScreenArea> screens = desktop.screens();
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_EQ(screens[0], (ScreenArea{"primary", {0, 0, 1024, 768}, 15}));
    EXPECT_EQ(screens[1], (ScreenArea{"right", {1024, 0, 800, 600}, 15}));
    EXPECT_EQ(screens[2], (ScreenArea{"under", {0, 768, 1280, 800}, 15}));
}

// A saver shown on the desktop's screens as the program sees them.
struct ShownSaver {
    explicit ShownSaver(const QString& system = QStringLiteral("0"))
    {
        platform.setScreens(DesktopPlatform(nullptr).screens());
        temp.set(settings::kSystem, system);
        form = std::make_unique<SaverForm>(platform, temp.store);
        form->form1().Timer1.setEnabled(false);
        form->form1().StartSaver();
        form->show();
        for (std::size_t other = 0; other < form->form1().otherScreens().size(); ++other)
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&form->screenWindow(other)));
    }
    SaverWindow& window(int screen)
    {
        return screen == 0 ? form->window() : form->screenWindow(std::size_t(screen) - 1);
    }

    FakePlatform platform;
    TempStore temp;
    std::unique_ptr<SaverForm> form;
};

TEST(ScreenWindows, EveryScreenIsCoveredByAWindowOnTopOfItsOwn)
{
    ShownSaver saver;
    for (int screen = 0; screen < 3; ++screen) {
        SaverWindow& window = saver.window(screen);
        const QScreen* shownOn = window.screen();
        ASSERT_NE(shownOn, nullptr);
        EXPECT_EQ(window.geometry(), shownOn->geometry()) << "screen " << screen;
        EXPECT_EQ(shownOn, QGuiApplication::screens()[screen]) << "screen " << screen;
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(window.flags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(window.flags().testFlag(Qt::FramelessWindowHint));
    }
    const auto& under = saver.form->form1().otherScreens()[1];
    EXPECT_EQ(under->state.columnCount, 1280 / 13) << "each grid from its own screen's size";
    EXPECT_EQ(static_cast<int>(under->state.rowsPerColumn), 800 / 18);
    EXPECT_EQ(saver.platform.cursorCount, -1) << "the pointer is hidden once, over every window";
}

struct TriggerRow {
    const char* name;
    int screen;
};

class AnyWindow : public ::testing::TestWithParam<TriggerRow> {};

TEST_P(AnyWindow, EndsTheSaverOnAKey)
{
    ShownSaver saver;
    QTest::keyClick(&saver.window(GetParam().screen), Qt::Key_A);
    EXPECT_EQ(saver.platform.exitStatus, 0);
}

TEST_P(AnyWindow, EndsTheSaverOnAClickOnACell)
{
    ShownSaver saver;
    SaverWindow& window = saver.window(GetParam().screen);
    QTest::mouseMove(&window, QPoint(30, 30));
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
    EXPECT_EQ(saver.platform.exitStatus, 0);
}

INSTANTIATE_TEST_SUITE_P(ScreenWindows, AnyWindow,
                         ::testing::Values(TriggerRow{"primary", 0}, TriggerRow{"right", 1}, TriggerRow{"under", 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ScreenWindows, MovesOverAllWindowsCountTogether)
{
    ShownSaver saver;
    for (int move = 1; move <= 7; ++move)
        QTest::mouseMove(&saver.window(move % 3), QPoint(100 + move * 20, 100 + move * 10));
    EXPECT_EQ(saver.form->form1().state.moveCount, 7);
    EXPECT_FALSE(saver.platform.ended());
    QTest::mouseMove(&saver.window(1), QPoint(400, 300));
    EXPECT_EQ(saver.platform.exitStatus, 0) << "the eighth move ends it, wherever it is";
}

TEST(ScreenWindows, TheBannerShowsOnThePrimaryScreenAndFreezesEveryScreen)
{
    ShownSaver saver(QStringLiteral("1"));
    saver.form->form1().Timer1.setEnabled(true);
    QTest::keyClick(&saver.window(2), Qt::Key_Space);
    EXPECT_TRUE(saver.form->form1().Label1.isVisible());
    EXPECT_FLOAT_EQ(saver.form->form1().Label1.left(), 424.5f) << "centred on the primary screen";
    EXPECT_FALSE(saver.form->form1().Timer1.isEnabled());
    EXPECT_EQ(saver.platform.cursorCount, 0);
}

} // namespace
} // namespace korval
