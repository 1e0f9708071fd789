// On a screen at twice the pixel density, the rain in a host's window has
// the cells and glyphs that /s has there: both are laid out in the screen's
// pixels and drawn at its device pixel ratio, each glyph twice as large as
// at one device pixel per pixel.

#include "WholeProgramTest.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <set>

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

// What the screen showed while a program's rain ran, over a series of
// screenshots: the glyph pixels of all of them together, and every distinct
// picture of a whole cell that showed a glyph (a cell's picture is its
// character in its colour, pixel for pixel).
struct RainSamples {
    QImage glyphs;
    std::set<QByteArray> cellPictures;
    int screenshots = 0;
};

// The pictures of the cells that lie wholly on the screen and show a glyph,
// for cells of the given size in device pixels from the top left corner.
void addCellPictures(const QImage& screen, QSize cell, std::set<QByteArray>& pictures)
{
    for (int top = 0; top + cell.height() <= screen.height(); top += cell.height()) {
        for (int left = 0; left + cell.width() <= screen.width(); left += cell.width()) {
            const QRect area(QPoint(left, top), cell);
            if (countGreen(screen, area) == 0)
                continue;
            const QImage picture = screen.copy(area).convertToFormat(QImage::Format_RGB32);
            pictures.insert(QByteArray(reinterpret_cast<const char*>(picture.constBits()), picture.sizeInBytes()));
        }
    }
}

// How many of the pictures are among the others.
int sharedPictures(const std::set<QByteArray>& pictures, const std::set<QByteArray>& others)
{
    return static_cast<int>(std::count_if(pictures.begin(), pictures.end(),
                                          [&](const QByteArray& picture) { return others.count(picture) > 0; }));
}

class HostScaleTest : public WholeProgramTest {
protected:
    QProcessEnvironment environmentAt(const QString& scale) const
    {
        QProcessEnvironment scaled = environment();
        scaled.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
        scaled.remove(QStringLiteral("XSCREENSAVER_WINDOW"));
        return scaled;
    }

    // Screenshots of the rain, taken until the samples have what `enough`
    // asks for (or the patience is spent: the assertions then say what is
    // missing); the program is ended afterwards. The rain changes between
    // screenshots however fast the machine is; the gap between them only
    // keeps the count of screenshots down.
    RainSamples samplesOf(const QStringList& arguments, const QString& scale, QSize cell,
                          const std::function<bool(const RainSamples&)>& enough)
    {
        auto korval = start(arguments + kLargeCells, environmentAt(scale));
        RainSamples samples;
        samples.glyphs = desktop->waitForRain(kScreen, 200);
        EXPECT_FALSE(samples.glyphs.isNull());
        if (samples.glyphs.isNull())
            return samples;
        addCellPictures(samples.glyphs, cell, samples.cellPictures);
        samples.screenshots = 1;
        const QDeadlineTimer deadline(DesktopDriver::kPatienceMs * 3);
        while (!enough(samples) && !deadline.hasExpired()) {
            QThread::msleep(100);
            const QImage screen = desktop->screenshot();
            if (screen.isNull())
                break;
            ++samples.screenshots;
            addCellPictures(screen, cell, samples.cellPictures);
            for (int y = 0; y < screen.height(); ++y)
                for (int x = 0; x < screen.width(); ++x)
                    if (isGlyphGreen(screen.pixel(x, y)))
                        samples.glyphs.setPixel(x, y, screen.pixel(x, y));
        }
        EXPECT_TRUE(korval->isRunning()) << korval->errorOutput().toStdString();
        const Sent signal = send([&] { korval->signal(SIGTERM); });
        EXPECT_TRUE(endsWithin(*korval, signal, 0, 2000));
        return samples;
    }
};

// Distinct pictures of cells enough to have seen most characters, the
// tallest and the deepest among them: the glyphs' extents are then those of
// the font, not of the characters that happened to fall.
constexpr std::size_t kManyPictures = 150;
// Pictures of the host's cells that must be found among the saver's: a few
// small marks (a dot, a dash) may look alike at neighbouring font sizes,
// but not this many glyphs.
constexpr int kManyShared = 40;

TEST_F(HostScaleTest, HostsWindowHasTheCellsAndGlyphsOfTheSaverOnADenseScreen)
{
    const auto many = [](const RainSamples& samples) { return samples.cellPictures.size() >= kManyPictures; };
    const RainSamples saver1 = samplesOf({QStringLiteral("/s")}, QStringLiteral("1"), QSize(40, 50), many);
    const RainSamples saver = samplesOf({QStringLiteral("/s")}, QStringLiteral("2"), QSize(80, 100), many);
    const RainSamples host
        = samplesOf({QStringLiteral("--root")}, QStringLiteral("2"), QSize(80, 100), [&](const RainSamples& samples) {
              return many(samples) && sharedPictures(samples.cellPictures, saver.cellPictures) >= kManyShared;
          });
    const GridPicture one = saver1.glyphs.isNull() ? GridPicture{} : gridPicture(saver1.glyphs);
    const GridPicture saverGrid = saver.glyphs.isNull() ? GridPicture{} : gridPicture(saver.glyphs);
    const GridPicture hostGrid = host.glyphs.isNull() ? GridPicture{} : gridPicture(host.glyphs);
    const int shared = sharedPictures(host.cellPictures, saver.cellPictures);
    std::printf("cell pictures (screenshots): /s at 1 %zu (%d), /s at 2 %zu (%d), --root at 2 %zu (%d), %d of "
                "them also the saver's; tallest glyphs: %d at 1, %d and %d at 2; widest: %d, %d and %d\n",
                saver1.cellPictures.size(), saver1.screenshots, saver.cellPictures.size(), saver.screenshots,
                host.cellPictures.size(), host.screenshots, shared, one.glyphExtent.height(),
                saverGrid.glyphExtent.height(), hostGrid.glyphExtent.height(), one.glyphExtent.width(),
                saverGrid.glyphExtent.width(), hostGrid.glyphExtent.width());

    // 40 x 50 pixels at one and at two device pixels per pixel.
    // A band starts at the top (or left) of the tallest glyph it holds,
    // which moves it by a few pixels; half the size is far off either way.
    EXPECT_NEAR(one.cellPitch.width(), 40, 4);
    EXPECT_NEAR(one.cellPitch.height(), 50, 5);
    EXPECT_NEAR(saverGrid.cellPitch.width(), 80, 8);
    EXPECT_NEAR(saverGrid.cellPitch.height(), 100, 10);
    EXPECT_NEAR(hostGrid.cellPitch.width(), 80, 8);
    EXPECT_NEAR(hostGrid.cellPitch.height(), 100, 10);

    // The same glyphs, pixel for pixel: the same character in the same
    // colour looks the same in the host's window as in the saver's. A font
    // one pixel larger or smaller, or glyphs drawn otherwise, shares none.
    EXPECT_GE(shared, kManyShared) << "of the host's " << host.cellPictures.size() << " cell pictures";
    // Hence the same extents: from the top of the tallest accent to the foot
    // of the deepest descender in a row of cells, seen over many pictures.
    EXPECT_GE(saver.cellPictures.size(), kManyPictures);
    EXPECT_GE(host.cellPictures.size(), kManyPictures);
    EXPECT_NEAR(hostGrid.glyphExtent.height(), saverGrid.glyphExtent.height(), 1);
    // Twice as tall as at one device pixel per pixel (about 15 there at 10
    // points): the font is not sized for the ratio twice, nor not at all.
    EXPECT_GE(saver1.cellPictures.size(), kManyPictures);
    EXPECT_NEAR(saverGrid.glyphExtent.height(), 2 * one.glyphExtent.height(), 2);
    EXPECT_NEAR(hostGrid.glyphExtent.height(), 2 * one.glyphExtent.height(), 2);
}

} // namespace
} // namespace korval::e2e
