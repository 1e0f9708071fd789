#include "support/FakePlatform.h"

#include "core/saver/CellArray.h"
#include "core/saver/Palette.h"
#include "engine/SaverWindow.h"
#include "platform/QtText.h"
#include "core/saver/Stage.h"

#include <QCoreApplication>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korval {
namespace {

constexpr int kColumns = 4;
constexpr int kRows = 3;
constexpr int kWidth = 13;
constexpr int kHeight = 18;

// A small grid of saver cells, laid out column by column, in a window of
// its own on the offscreen platform, painted once in full.
struct PaintedGrid {
    PaintedGrid()
    {
        Cell templateCell;
        templateCell.width = kWidth;
        templateCell.height = kHeight;
        templateCell.fontSize = 10;
        templateCell.foreColour = TRAIL_COLOUR;
        cells = std::make_unique<CellArray>(templateCell, CellFont{});
        cells->arrange(kRows, kColumns);
        for (int i = 1; i < kColumns * kRows; ++i) {
            cells->load(i);
            cells->setVisible(i, true);
        }
        window = std::make_unique<SaverWindow>(*cells, std::vector<WindowlessControl*>{});
        window->setGeometry(100, 100, kColumns * kWidth, kRows * kHeight);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->repaintChanges();
    }

    int index(int column, int row) const { return column * kRows + row; }
    QRect rectOf(int column, int row) const { return qtRect((*cells)[index(column, row)].pixelRect()); }

    // What a cell of the painted frame shows: 'o' bright ink, 'x' dim ink,
    // '.' black only; anything else is '?'.
    char look(const QImage& frame, int column, int row) const
    {
        const QRect rect = rectOf(column, row);
        int brightest = 0;
        bool foreign = false;
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x <= rect.right(); ++x) {
                const QRgb pixel = frame.pixel(x, y);
                brightest = std::max(brightest, qGreen(pixel));
                // Ink is green over black: red at most the head's share of green.
                foreign |= qRed(pixel) > qGreen(pixel) || qBlue(pixel) > qGreen(pixel);
            }
        }
        if (foreign)
            return '?';
        if (brightest == 0)
            return '.';
        if (brightest == qGreen(HEAD_COLOUR))
            return 'o';
        return brightest == qGreen(TRAIL_COLOUR) ? 'x' : '?';
    }

    std::vector<std::string> picture()
    {
        const QImage frame = window->frame();
        std::vector<std::string> lines;
        for (int row = 0; row < kRows; ++row) {
            std::string line;
            for (int column = 0; column < kColumns; ++column)
                line += look(frame, column, row);
            lines.push_back(line);
        }
        return lines;
    }

    std::unique_ptr<CellArray> cells;
    std::unique_ptr<SaverWindow> window;
};

using Picture = std::vector<std::string>;

TEST(CellPainting, BrightAndDimGlyphsShowWhereTheCellsSay)
{
    PaintedGrid grid;
    ASSERT_FALSE(grid.window->frame().isNull()) << "the backing store is an image";
    EXPECT_EQ(grid.picture(), (Picture{"....", "....", "...."}));

    grid.cells->setCaptionCode(grid.index(0, 1), 'A');
    grid.cells->setForeColour(grid.index(0, 1), HEAD_COLOUR);
    grid.cells->setCaptionCode(grid.index(2, 0), 0x8A); // Š in the code page
    grid.cells->setCaptionCode(grid.index(3, 2), 'W');
    grid.cells->setForeColour(grid.index(1, 2), HEAD_COLOUR); // bright but empty: nothing shows
    grid.window->repaintChanges();
    EXPECT_EQ(grid.picture(), (Picture{"..x.", "o...", "...x"}));

    grid.cells->setForeColour(grid.index(0, 1), TRAIL_COLOUR);
    grid.cells->clearCaption(grid.index(2, 0));
    grid.window->repaintChanges();
    EXPECT_EQ(grid.picture(), (Picture{"....", "x...", "...x"}));
}

struct BlankCodeCase {
    const char* name;
    int code;
};

class CodesWithoutAForm : public ::testing::TestWithParam<BlankCodeCase> {};

TEST_P(CodesWithoutAForm, PaintAsAnEmptyCell)
{
    PaintedGrid grid;
    grid.cells->setCaptionCode(grid.index(1, 1), 'M'); // something to overwrite
    grid.window->repaintChanges();
    grid.cells->setCaptionCode(grid.index(1, 1), GetParam().code);
    grid.cells->setForeColour(grid.index(1, 1), HEAD_COLOUR);
    grid.window->repaintChanges();
    EXPECT_EQ(grid.picture()[1], "....");
}

INSTANTIATE_TEST_SUITE_P(CellPainting, CodesWithoutAForm,
                         ::testing::Values(BlankCodeCase{"Zero", 0}, BlankCodeCase{"ControlCode", 9},
                                           BlankCodeCase{"Space", 0x20}, BlankCodeCase{"Delete", 0x7F},
                                           BlankCodeCase{"Undefined", 0x81}, BlankCodeCase{"NoBreakSpace", 0xA0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CellPainting, AGlyphTooLargeForItsCellIsClippedToIt)
{
    PaintedGrid grid;
    grid.cells->setFontSize(40); // every cell's: far wider and taller than 13 x 18
    grid.cells->setCaptionCode(grid.index(1, 1), 'W');
    grid.cells->setForeColour(grid.index(1, 1), HEAD_COLOUR);
    grid.window->repaintChanges();
    EXPECT_EQ(grid.picture(), (Picture{"....", ".o..", "...."}));
}

TEST(CellPainting, ATickRepaintsOnlyTheCellsItChanged)
{
    PaintedGrid grid;
    grid.cells->setCaptionCode(grid.index(0, 0), 'K');
    grid.cells->setCaptionCode(grid.index(3, 2), 'L');
    grid.cells->setForeColour(grid.index(3, 2), HEAD_COLOUR);
    grid.cells->setCaptionCode(grid.index(0, 0), 'K'); // the same again: no second change
    grid.window->repaintChanges();

    EXPECT_EQ(grid.window->lastPaintedCells(), 2);
    const QRegion flushed = grid.window->lastFlushed();
    EXPECT_TRUE(flushed.contains(grid.rectOf(0, 0)));
    EXPECT_TRUE(flushed.contains(grid.rectOf(3, 2)));
    EXPECT_FALSE(flushed.intersects(grid.rectOf(1, 1))) << "an unchanged cell in another row is not sent";

    grid.cells->setCaptionCode(grid.index(0, 0), 'K'); // nothing changes
    grid.window->repaintChanges();
    EXPECT_EQ(grid.window->lastPaintedCells(), 0);
    EXPECT_TRUE(grid.window->lastFlushed().isEmpty());
}

TEST(CellPainting, ChangesArePaintedInTheSameTurnOfTheEventLoop)
{
    PaintedGrid grid;
    grid.cells->setCaptionCode(grid.index(2, 1), 'Z');
    grid.cells->setForeColour(grid.index(2, 1), HEAD_COLOUR);
    QCoreApplication::processEvents(); // no timer to wait for
    EXPECT_EQ(grid.picture()[1], "..o.");
    EXPECT_EQ(grid.window->lastPaintedCells(), 1);
}

TEST(CellPainting, AHandlersChangesArePaintedWhenItReturnsWithoutAPostedRepaint)
{
    PaintedGrid grid;
    testing::FakePlatform platform;
    Stage stage(platform);
    stage.add(*grid.window);
    stage.run([&] {
        grid.cells->setCaptionCode(grid.index(1, 0), 'Y');
        grid.cells->setForeColour(grid.index(1, 0), HEAD_COLOUR);
        grid.cells->setCaptionCode(grid.index(1, 1), 'Y');
    });
    EXPECT_EQ(grid.picture(), (Picture{".o..", ".x..", "...."}));
    EXPECT_EQ(grid.window->lastPaintedCells(), 2);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid.window->lastPaintedCells(), 2) << "no second, empty repaint was posted";
}

} // namespace
} // namespace korval
