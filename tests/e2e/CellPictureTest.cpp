#include "WholeProgramTest.h"

#include <QProcess>
#include <QTemporaryDir>

#include <cstdlib>

#ifndef KORVAL_CELL_PICTURE
#error "KORVAL_CELL_PICTURE must name the cell picture helper"
#endif

namespace korval::e2e {
namespace {

// Paints the helper's fixed grid on the test's display at a device pixel
// ratio (QT_SCALE_FACTOR), the X server drawing the glyphs or not, and
// returns the window's picture; `painter` gets the helper's word for what
// drew it.
QImage paintGrid(const QProcessEnvironment& base, const QString& scale, bool serverGlyphs, const QString& file,
                 QString& painter)
{
    QProcessEnvironment environment = base;
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    if (!serverGlyphs)
        environment.insert(QStringLiteral("KORVAL_XRENDER"), QStringLiteral("0"));
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(KORVAL_CELL_PICTURE), {file});
    if (!helper.waitForFinished(10000) || helper.exitCode() != 0) {
        ADD_FAILURE() << "helper failed: " << helper.readAllStandardError().toStdString();
        return {};
    }
    painter = QString::fromLocal8Bit(helper.readAllStandardOutput()).trimmed();
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

struct Scale {
    const char* name;
    const char* factor; // QT_SCALE_FACTOR
    QSize window;       // the helper's window in device pixels
};

class CellPictureAt : public WholeProgramTest, public ::testing::WithParamInterface<Scale> {};

// Glyphs drawn by the X server look as those copied from the backing store:
// same place in every cell, same size and smoothing, hidden and empty cells
// black, and the label in front of cells that changed after it showed. At
// a device pixel ratio both draw in device pixels: the cells at their
// device pixel rectangles (the fractional columns too), the glyphs and the
// label at the ratio.
TEST_P(CellPictureAt, ServerDrawnGlyphsMatchTheBackingStorePicture)
{
    const Scale& scale = GetParam();
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString serverPainter;
    QString storePainter;
    const QImage server = paintGrid(environment(), QString::fromLatin1(scale.factor), true,
                                    folder.filePath(QStringLiteral("server.png")), serverPainter);
    const QImage store = paintGrid(environment(), QString::fromLatin1(scale.factor), false,
                                   folder.filePath(QStringLiteral("store.png")), storePainter);
    ASSERT_FALSE(server.isNull());
    EXPECT_TRUE(serverPainter.startsWith(QLatin1String("painted by X Render"))) << serverPainter.toStdString();
    EXPECT_TRUE(storePainter.startsWith(QLatin1String("painted by the backing store"))) << storePainter.toStdString();
    EXPECT_EQ(server.size(), scale.window);
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
    // The glyphs cover as many device pixels per pixel at every ratio.
    EXPECT_GT(green, 1000 * server.width() * server.height() / (324 * 216)) << "the grid shows glyphs";
    EXPECT_EQ(differing, 0) << "first at " << firstDifference.x() << "," << firstDifference.y();
}

// The helper's window is 324 x 216 pixels.
INSTANTIATE_TEST_SUITE_P(WholeProgram, CellPictureAt,
                         ::testing::Values(Scale{"OneDevicePixelPerPixel", "1", QSize(324, 216)},
                                           Scale{"TwoDevicePixelsPerPixel", "2", QSize(648, 432)},
                                           Scale{"OneAndAHalfDevicePixelsPerPixel", "1.5", QSize(486, 324)}),
                         [](const ::testing::TestParamInfo<Scale>& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval::e2e
