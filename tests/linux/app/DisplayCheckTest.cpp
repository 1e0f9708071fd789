#include "app/DisplayCheck.h"

#include <gtest/gtest.h>

namespace korval {
namespace {

struct PlatformRow {
    const char* name;
    PlatformChoice choice;
    bool x11;
};

class QtPlatform : public ::testing::TestWithParam<PlatformRow> {};

// The display is checked exactly where Qt starts on X11: a check missed
// lets Qt abort, one too many refuses a run that would work.
TEST_P(QtPlatform, StartsOnX11AsQtChoosesIt)
{
    EXPECT_EQ(startsOnX11(GetParam().choice), GetParam().x11);
}

INSTANTIATE_TEST_SUITE_P(
    App, QtPlatform,
    ::testing::Values(PlatformRow{"nothingSet", {}, true},
                      PlatformRow{"x11Session", {{}, QStringLiteral("x11"), {}, {}}, true},
                      PlatformRow{"waylandSession", {{}, QStringLiteral("wayland"), QStringLiteral("KDE"), {}}, false},
                      PlatformRow{"waylandSessionOfGnome", {{}, QStringLiteral("wayland"), QStringLiteral("ubuntu:GNOME"), {}}, true},
                      PlatformRow{"xcb", {QStringLiteral("xcb"), QStringLiteral("wayland"), {}, {}}, true},
                      PlatformRow{"xcbWithOptionsInCapitals", {QStringLiteral("XCB:dpi=96"), {}, {}, {}}, true},
                      PlatformRow{"xcbFirstOfTwo", {QStringLiteral("xcb;wayland"), {}, {}, {}}, true},
                      PlatformRow{"xcbAfterWayland", {QStringLiteral("wayland;xcb"), {}, {}, {}}, false},
                      PlatformRow{"offscreen", {QStringLiteral("offscreen"), QStringLiteral("x11"), {}, {}}, false},
                      PlatformRow{"anotherNameBeginningWithXcb", {QStringLiteral("xcbgl"), {}, {}, {}}, false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
