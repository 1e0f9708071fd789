#include "WaylandSession.h"
#include "WholeProgramTest.h"

#include <QProcess>
#include <QDeadlineTimer>
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

// Paints the grid in a Wayland session and returns what the compositor
// shows of it, read with grim while the helper holds its window.
QImage paintGridOnWayland(const WaylandSession& session, QProcessEnvironment environment, QSize size)
{
    environment = session.clientEnvironment(environment);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(KORVAL_CELL_PICTURE), {QStringLiteral("--show")});
    helper.waitForStarted();
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    while (!helper.canReadLine() && helper.state() == QProcess::Running && !deadline.hasExpired())
        helper.waitForReadyRead(100);
    const QByteArray said = helper.readLine().trimmed();
    const QImage screen = said == "painted" ? session.screenshot() : QImage();
    helper.terminate();
    if (!helper.waitForFinished(10000))
        helper.kill();
    if (screen.isNull()) {
        ADD_FAILURE() << "helper said '" << said.toStdString() << "': " << helper.readAllStandardError().toStdString();
        return {};
    }
    return screen.copy(QRect(QPoint(0, 0), size)).convertToFormat(QImage::Format_RGB32);
}

int channelDifference(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// The pixels at which two pictures of the same size differ by more than
// the rounding of smoothed edges, and the first of them.
std::pair<int, QPoint> differences(const QImage& a, const QImage& b)
{
    int differing = 0;
    QPoint first;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if (channelDifference(a.pixel(x, y), b.pixel(x, y)) > 2 && differing++ == 0)
                first = {x, y};
        }
    }
    return {differing, first};
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

    int green = 0;
    for (int y = 0; y < server.height(); ++y) {
        for (int x = 0; x < server.width(); ++x)
            green += isGlyphGreen(server.pixel(x, y)) ? 1 : 0;
    }
    // The glyphs cover as many device pixels per pixel at every ratio.
    EXPECT_GT(green, 1000 * server.width() * server.height() / (324 * 216)) << "the grid shows glyphs";
    const auto [differing, first] = differences(server, store);
    EXPECT_EQ(differing, 0) << "first at " << first.x() << "," << first.y();
}

// The helper's window is 324 x 216 pixels.
INSTANTIATE_TEST_SUITE_P(WholeProgram, CellPictureAt,
                         ::testing::Values(Scale{"OneDevicePixelPerPixel", "1", QSize(324, 216)},
                                           Scale{"TwoDevicePixelsPerPixel", "2", QSize(648, 432)},
                                           Scale{"OneAndAHalfDevicePixelsPerPixel", "1.5", QSize(486, 324)}),
                         [](const ::testing::TestParamInfo<Scale>& info) { return std::string(info.param.name); });

// On Wayland the window keeps its pixels in buffers of its own and each
// repaint brings the next buffer up to date from the last: after several
// repaints the compositor shows what the backing store paints in one go.
TEST_F(WholeProgramTest, WaylandBuffersShowTheBackingStorePicture)
{
    if (const QString tool = WaylandSession::missingTool(); !tool.isEmpty())
        GTEST_SKIP() << tool.toStdString() << " is not installed (scripts/install-deps.sh installs it)";
    if (!WaylandSession::hasUser())
        GTEST_SKIP() << "no user korval-test to run sway as (scripts/install-deps.sh makes it)";
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString painter;
    const QImage store = paintGrid(environment(), QStringLiteral("1"), false, folder.filePath(QStringLiteral("store.png")),
                                   painter);
    ASSERT_FALSE(store.isNull());
    const WaylandSession session(1);
    ASSERT_TRUE(session.isReady()) << session.error().toStdString();
    const QImage shown = paintGridOnWayland(session, environment(), store.size());
    ASSERT_EQ(shown.size(), store.size());

    const auto [differing, first] = differences(shown, store);
    EXPECT_EQ(differing, 0) << "first at " << first.x() << "," << first.y();
}

} // namespace
} // namespace korval::e2e
