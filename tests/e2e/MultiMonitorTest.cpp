#include "MultiMonitorTest.h"

namespace korval::e2e {
namespace {

const Monitor kFirst{QStringLiteral("DUMMY0"), MonitorDisplay::kStartGeometry, true};

TEST_F(MultiMonitorTest, TwoOutputsSideBySideAreTwoMonitorsOfOneDesktop)
{
    ASSERT_TRUE(display().enable(QStringLiteral("DUMMY1"), {1920, 0, 1280, 1024})) << display().error().toStdString();
    const QList<Monitor> expected{kFirst, {QStringLiteral("DUMMY1"), {1920, 0, 1280, 1024}, false}};
    EXPECT_EQ(display().monitors(), expected);
    EXPECT_EQ(desktop->desktopShot().size(), QSize(3200, 1080));
    EXPECT_EQ(desktop->screenshot().size(), QSize(1920, 1080)) << "the primary monitor";
}

TEST_F(MultiMonitorTest, OutputSwitchedOffAndOnComesBackAtItsPlace)
{
    const QRect place(1920, 0, 1920, 1080);
    ASSERT_TRUE(display().enable(QStringLiteral("DUMMY1"), place)) << display().error().toStdString();
    ASSERT_TRUE(display().disable(QStringLiteral("DUMMY1"))) << display().error().toStdString();
    EXPECT_EQ(display().monitors(), QList<Monitor>{kFirst});
    EXPECT_EQ(desktop->desktopShot().size(), QSize(1920, 1080));
    ASSERT_TRUE(display().enable(QStringLiteral("DUMMY1"), place)) << display().error().toStdString();
    const QList<Monitor> expected{kFirst, {QStringLiteral("DUMMY1"), place, false}};
    EXPECT_EQ(display().monitors(), expected);
    EXPECT_EQ(desktop->desktopShot().size(), QSize(3840, 1080));
}

} // namespace
} // namespace korval::e2e
