#include "WholeProgramTest.h"

#include <QDeadlineTimer>

namespace korval::e2e {
namespace {

// The options dialog and the saver agree on the cell size through the
// settings alone: what OK stores, the next saver lays its grid out by.
TEST_F(WholeProgramTest, OptionsDialogStoresTheCellSizeTheSaverUses)
{
    user.store(settings::kTextSize, QStringLiteral("10"));
    user.store(settings::kWidth, QStringLiteral("13"));
    user.store(settings::kHeight, QStringLiteral("18"));
    user.store(settings::kSystem, QStringLiteral("0"));

    auto dialog = start(QStringLiteral("/c"));
    const auto window = desktop->waitForWindow(QStringLiteral("^OPTION KORVAL$"), DesktopDriver::kPatienceMs);
    ASSERT_TRUE(window.has_value()) << "no options dialog; stderr: " << dialog->errorOutput().toStdString();
    EXPECT_EQ(desktop->geometry(*window).size(), QSize(323, 199));

    // The focus starts in the font-size list; Tab visits the column gap, the
    // row gap and OK.
    desktop->focus(*window);
    ASSERT_TRUE(desktop->waitForFocus(*window)) << "the dialog does not get the focus";
    for (const char* gap : {"40", "60"}) {
        desktop->key(QStringLiteral("Tab"));
        desktop->key(QStringLiteral("ctrl+a"));
        desktop->type(QString::fromLatin1(gap));
    }
    desktop->key(QStringLiteral("Tab"));
    desktop->key(QStringLiteral("space"));
    ASSERT_EQ(dialog->waitForExit(DesktopDriver::kPatienceMs), 0) << "OK ends the dialog";

    // The natural size of "M" at 10 points plus the typed gaps.
    const int width = user.stored(settings::kWidth).toInt();
    const int height = user.stored(settings::kHeight).toInt();
    EXPECT_EQ(user.stored(settings::kTextSize), QStringLiteral("10"));
    EXPECT_EQ(user.stored(settings::kSystem), QStringLiteral("0"));
    ASSERT_GT(width - 40, 2) << "stored width " << width;
    ASSERT_LT(width - 40, 40) << "stored width " << width;
    ASSERT_GT(height - 60, 2) << "stored height " << height;
    ASSERT_LT(height - 60, 40) << "stored height " << height;

    // In cells that wide and high the glyphs keep to the cells' top-left
    // corners; the default 13 x 18 grid would put them everywhere.
    auto saver = startSaver();
    ASSERT_FALSE(saverWindow.isEmpty());
    // How soon the rain shows is no matter here (another test checks it).
    QImage screen;
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    const QRect whole(0, 0, VirtualDisplay::kWidth, VirtualDisplay::kHeight);
    do
        screen = desktop->screenshot();
    while (!screen.isNull() && countGreen(screen, whole) < 100 && !deadline.hasExpired());
    ASSERT_FALSE(screen.isNull());
    ASSERT_GE(countGreen(screen, whole), 100);
    int outside = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x)
            outside += isGlyphGreen(screen.pixel(x, y)) && (x % width >= 22 || y % height >= 26) ? 1 : 0;
    EXPECT_EQ(outside, 0) << "green pixels outside the glyph corner of " << width << " x " << height << " cells";
}

} // namespace
} // namespace korval::e2e
