// On a screen at twice the pixel density, the rain in a host's window has
// the cells and glyphs that /s has there: both are laid out in the screen's
// pixels and drawn at its device pixel ratio.

#include "WholeProgramTest.h"

#include <QThread>

#include <algorithm>
#include <csignal>
#include <functional>
#include <map>

namespace korval::e2e {
namespace {

const QRect kScreen(0, 0, VirtualDisplay::kWidth, VirtualDisplay::kHeight);

// Cells much larger than their glyphs, so that the glyphs of neighbouring
// cells never touch and each column and row of cells shows as a band.
const QStringList kLargeCells{QStringLiteral("--cell-width"), QStringLiteral("40"), QStringLiteral("--cell-height"),
                              QStringLiteral("50")};

// What a screenshot shows of the grid, in device pixels: the distance from
// one band of glyphs to the next (the cell's size) and the widest and
// tallest band (the size of the glyphs).
struct GridPicture {
    QSize cellPitch;
    QSize glyphExtent;
};

// The bands of lines across one axis that hold glyph pixels, a gap of fewer
// than 10 lines (inside a glyph, such as the dot of an i) joining them: the
// distance from the start of one band to the start of the next, where no
// band lies between (the median of those at most half as long again as the
// shortest), and the longest band.
std::pair<int, int> bands(int length, const std::function<bool(int)>& lineHasGlyph)
{
    constexpr int kGapInsideAGlyph = 10;
    std::vector<int> starts;
    int longest = 0;
    int bandStart = -1;
    int lastGlyphLine = -kGapInsideAGlyph;
    for (int i = 0; i < length; ++i) {
        if (!lineHasGlyph(i))
            continue;
        if (i - lastGlyphLine >= kGapInsideAGlyph)
            starts.push_back(bandStart = i);
        lastGlyphLine = i;
        longest = std::max(longest, i - bandStart + 1);
    }
    std::vector<int> distances;
    for (std::size_t i = 1; i < starts.size(); ++i)
        distances.push_back(starts[i] - starts[i - 1]);
    if (distances.empty())
        return {0, longest};
    const int shortest = *std::min_element(distances.begin(), distances.end());
    std::erase_if(distances, [shortest](int distance) { return distance * 2 > shortest * 3; });
    std::nth_element(distances.begin(), distances.begin() + distances.size() / 2, distances.end());
    return {distances[distances.size() / 2], longest};
}

GridPicture gridPicture(const QImage& screen)
{
    const auto [columnPitch, glyphWidth] = bands(screen.width(), [&](int x) {
        for (int y = 0; y < screen.height(); ++y)
            if (isGlyphGreen(screen.pixel(x, y)))
                return true;
        return false;
    });
    const auto [rowPitch, glyphHeight] = bands(screen.height(), [&](int y) {
        for (int x = 0; x < screen.width(); ++x)
            if (isGlyphGreen(screen.pixel(x, y)))
                return true;
        return false;
    });
    return {QSize(columnPitch, rowPitch), QSize(glyphWidth, glyphHeight)};
}

class HostScaleTest : public WholeProgramTest {
protected:
    QProcessEnvironment scaledEnvironment() const
    {
        QProcessEnvironment scaled = environment();
        scaled.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        scaled.remove(QStringLiteral("XSCREENSAVER_WINDOW"));
        return scaled;
    }

    // The glyphs that the screen showed in any of a series of screenshots
    // taken while the rain runs: one alone leaves many cells empty. The
    // program is ended afterwards.
    GridPicture pictureOf(const QStringList& arguments)
    {
        auto korval = start(arguments + kLargeCells, scaledEnvironment());
        QImage glyphs = desktop->waitForRain(kScreen, 200);
        EXPECT_FALSE(glyphs.isNull());
        // The samples are spread over two seconds of rain, so that the glyphs
        // in them fill more cells than those of a moment; the spacing waits
        // for nothing in particular.
        for (int shot = 0; shot < 8 && !glyphs.isNull(); ++shot) {
            QThread::msleep(250);
            const QImage screen = desktop->screenshot();
            for (int y = 0; y < screen.height(); ++y)
                for (int x = 0; x < screen.width(); ++x)
                    if (isGlyphGreen(screen.pixel(x, y)))
                        glyphs.setPixel(x, y, screen.pixel(x, y));
        }
        EXPECT_TRUE(korval->isRunning()) << korval->errorOutput().toStdString();
        const Sent signal = send([&] { korval->signal(SIGTERM); });
        EXPECT_TRUE(endsWithin(*korval, signal, 0, 2000));
        return glyphs.isNull() ? GridPicture{} : gridPicture(glyphs);
    }
};

TEST_F(HostScaleTest, HostsWindowHasTheCellsAndGlyphsOfTheSaverOnADenseScreen)
{
    const GridPicture saver = pictureOf({QStringLiteral("/s")});
    const GridPicture host = pictureOf({QStringLiteral("--root")});

    // 40 x 50 pixels at two device pixels per pixel.
    // A band starts at the top (or left) of the tallest glyph it holds,
    // which moves it by a few pixels; half the size is far off either way.
    EXPECT_NEAR(saver.cellPitch.width(), 80, 8);
    EXPECT_NEAR(saver.cellPitch.height(), 100, 10);
    EXPECT_NEAR(host.cellPitch.width(), 80, 8);
    EXPECT_NEAR(host.cellPitch.height(), 100, 10);
    // The glyphs, which differ from screenshot to screenshot: about as tall
    // in both, and twice as tall as at one device pixel per pixel (where the
    // tallest at 10 points measures about 15).
    EXPECT_GE(saver.glyphExtent.height(), 22);
    EXPECT_GE(host.glyphExtent.height(), 22);
    EXPECT_NEAR(host.glyphExtent.height(), saver.glyphExtent.height(), saver.glyphExtent.height() / 4);
}

} // namespace
} // namespace korval::e2e
