#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct PlatformRow {
    const char* name;
    const char* variable;
    bool x11;
};

class QtPlatform : public ::testing::TestWithParam<PlatformRow> {};

// The display is checked exactly where Qt starts on X11: a check missed
// lets Qt abort, one too many refuses a run that would work.
TEST_P(QtPlatform, StartsOnX11AsQtChoosesIt)
{
    EXPECT_EQ(startsOnX11(QString::fromLatin1(GetParam().variable)), GetParam().x11);
}

INSTANTIATE_TEST_SUITE_P(App, QtPlatform,
                         ::testing::Values(PlatformRow{"xcb", "xcb", true},
                                           PlatformRow{"xcbWithOptionsInCapitals", "XCB:dpi=96", true},
                                           PlatformRow{"xcbFirstOfTwo", "xcb;wayland", true},
                                           PlatformRow{"xcbAfterWayland", "wayland;xcb", false},
                                           PlatformRow{"offscreen", "offscreen", false},
                                           PlatformRow{"anotherNameBeginningWithXcb", "xcbgl", false}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ChoiceRow {
    const char* name;
    PlatformChoice choice;
    DisplayProbe probe;
    const char* platform; // what Qt is told to start on; empty: the user's variable stands
    const char* problem;  // the one line where it cannot start, nullptr where it can
};

class StartChoice : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(StartChoice, WaylandFirstThenX11ElseOneLineNamingBoth)
{
    const ChoiceRow& row = GetParam();
    const StartPlatform start = choosePlatform(row.choice, row.probe);
    EXPECT_EQ(start.platform, QString::fromLatin1(row.platform));
    if (row.problem)
        EXPECT_EQ(start.problem.value_or(QStringLiteral("(none)")), QString::fromLatin1(row.problem));
    else
        EXPECT_FALSE(start.problem.has_value()) << qPrintable(*start.problem);
}

const QString wl = QStringLiteral("wayland-1");
const QString x = QStringLiteral(":0");

INSTANTIATE_TEST_SUITE_P(
    App, StartChoice,
    ::testing::Values(
        ChoiceRow{"waylandOnly", {{}, wl, {}}, {true, true, false}, "wayland", nullptr},
        ChoiceRow{"waylandBeforeXWayland", {{}, wl, x}, {true, true, true}, "wayland", nullptr},
        ChoiceRow{"x11Only", {{}, {}, x}, {false, false, true}, "xcb", nullptr},
        ChoiceRow{"deadWaylandSocketFallsBackToX11", {{}, wl, x}, {false, false, true}, "xcb", nullptr},
        ChoiceRow{"noWaylandPlatformFallsBackToX11", {{}, wl, x}, {true, false, true}, "xcb", nullptr},
        ChoiceRow{"nothingSet", {}, {}, "",
                  "cannot open the X display: DISPLAY is not set, and no Wayland display: WAYLAND_DISPLAY is not set"},
        ChoiceRow{"neitherConnects", {{}, wl, x}, {}, "",
                  "cannot open the X display ':0', and cannot open the Wayland display 'wayland-1'"},
        ChoiceRow{"waylandWithoutItsPlatformAndNoX", {{}, wl, {}}, {true, false, false}, "",
                  "cannot open the X display: DISPLAY is not set, and Qt's wayland platform is not installed "
                  "(package qt6-wayland) for the Wayland display 'wayland-1'"},
        ChoiceRow{"usersX11WithoutADisplay", {QStringLiteral("xcb"), wl, x}, {true, true, false}, "",
                  "cannot open the X display ':0'"},
        ChoiceRow{"usersX11", {QStringLiteral("xcb"), wl, x}, {false, false, true}, "", nullptr},
        ChoiceRow{"usersWaylandIsQtsToCheck", {QStringLiteral("wayland"), {}, {}}, {}, "", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
