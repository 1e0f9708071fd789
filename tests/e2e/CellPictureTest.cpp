#include "WholeProgramTest.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

#ifndef KORVAL_CELL_PICTURE
#error "KORVAL_CELL_PICTURE must name the cell picture helper"
#endif

namespace korval::e2e {
namespace {

// Paints the helper's fixed grid on the test's display, the X server drawing
// the glyphs or not, and returns the window's picture.
QImage paintGrid(const QProcessEnvironment& base, bool serverGlyphs, const QString& file)
{
    QProcessEnvironment environment = base;
    if (!serverGlyphs)
        environment.insert(QStringLiteral("KORVAL_XRENDER"), QStringLiteral("0"));
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(KORVAL_CELL_PICTURE), {file});
    if (!helper.waitForFinished(10000) || helper.exitCode() != 0) {
        ADD_FAILURE() << "helper failed: " << helper.readAllStandardError().toStdString();
        return {};
    }
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Glyphs drawn by the X server look as those copied from the backing store:
// same place in every cell, same smoothing, hidden and empty cells black,
// and the label in front of cells that changed after it showed.
TEST_F(WholeProgramTest, ServerDrawnGlyphsMatchTheBackingStorePicture)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QImage server = paintGrid(environment(), true, folder.filePath(QStringLiteral("server.png")));
    const QImage store = paintGrid(environment(), false, folder.filePath(QStringLiteral("store.png")));
    ASSERT_FALSE(server.isNull());
    ASSERT_EQ(server.size(), store.size());

    int differing = 0;
    int green = 0;
    QPoint firstDifference;
    for (int y = 0; y < server.height(); ++y) {
        for (int x = 0; x < server.width(); ++x) {
            // Smoothed edges may round one step apart.
            if (channelDifference(server.pixel(x, y), store.pixel(x, y)) > 2 && differing++ == 0)
                firstDifference = {x, y};
            green += isGlyphGreen(server.pixel(x, y)) ? 1 : 0;
        }
    }
    EXPECT_GT(green, 1000) << "the grid shows glyphs";
    EXPECT_EQ(differing, 0) << "first at " << firstDifference.x() << "," << firstDifference.y();
}

} // namespace
} // namespace korval::e2e
