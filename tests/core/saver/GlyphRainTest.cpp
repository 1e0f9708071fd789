#include "core/support/FakeForm.h"

#include "core/saver/Form1.h"
#include "core/saver/Palette.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace korval {
namespace {

using testing::FakeForm;

constexpr int kCellWidth = 13; // the saver's default cell size
constexpr int kCellHeight = 18;

// The draw that gives a column this speed, and the one that gives it a mode.
double speedDraw(int speed) { return speed == 1 ? 0.0 : speed / 5.0 + 0.01; }
double modeDraw(int mode) { return mode == 1 ? 0.5 : 0.0; }

struct Column {
    int speed;
    int mode; // 1 blank, 0 glyph
};

// A saver started on a screen of exactly `columns` x `rows` default cells,
// with the columns seeded as given. The timer is off: tests tick by hand.
struct RainGrid {
    RainGrid(int columns, int rows, const std::vector<Column>& seeds, int extraWidth = 0)
        : fake(columns * kCellWidth + extraWidth, rows * kCellHeight), platform(fake.platform)
    {
        for (const Column& column : seeds)
            platform.randomSource.script({speedDraw(column.speed), modeDraw(column.mode)});
        form = &fake.make();
        form->Timer1.setEnabled(false);
        form->StartSaver();
        form->M1.clearChanges();
        drawsBefore = platform.randomSource.draws;
    }

    void tick() { form->Timer1_Timer(); }
    int drawsSinceStart() const { return platform.randomSource.draws - drawsBefore; }
    Cell cell(int index) const { return form->M1[index]; }
    SaverState& state() { return form->state; }

    // The full columns as a picture, one text line per row, one character
    // per column, plus the edge column's top cell on the first line:
    // 'o' bright character, 'x' dim character, '*' bright empty, '.' dim empty.
    std::vector<std::string> picture() const
    {
        const int columns = form->state.columnCount;
        const int rows = static_cast<int>(form->state.rowsPerColumn);
        std::vector<std::string> lines;
        for (int row = 0; row < rows; ++row) {
            std::string line;
            for (int column = 0; column < columns; ++column)
                line += symbol(cell(column * rows + row));
            if (row == 0)
                line += std::string("|") + symbol(cell(columns * rows));
            lines.push_back(line);
        }
        return lines;
    }

    static char symbol(const Cell& cell)
    {
        const bool bright = cell.foreColour == HEAD_COLOUR;
        if (cell.captionCode == kNoCaption)
            return bright ? '*' : '.';
        return bright ? 'o' : 'x';
    }

    FakeForm fake;
    testing::FakePlatform& platform;
    Form1* form = nullptr;
    int drawsBefore = 0;
};

using Picture = std::vector<std::string>;

TEST(GlyphRain, FirstTickWritesRowOneOfEveryColumnAndDimsCellZero)
{
    RainGrid grid(3, 3, {{1, 0}, {1, 0}, {1, 0}});
    grid.form->M1.setForeColour(0, HEAD_COLOUR);
    grid.platform.randomSource.script({0.0, 0.0}); // the two clears, both of the empty cell 0
    grid.tick();

    EXPECT_EQ(grid.picture(), (Picture{"...|.", "ooo", "..."}));
    EXPECT_EQ(grid.cell(1).captionCode, 1);
    EXPECT_EQ(grid.cell(4).captionCode, 2);
    EXPECT_EQ(grid.cell(7).captionCode, 3);
    EXPECT_EQ(grid.cell(0).foreColour, TRAIL_COLOUR);
    EXPECT_EQ(grid.state().cellCount, 9);
    EXPECT_EQ(grid.state().glyphCode, 3);
    for (int column = 1; column <= 3; ++column) {
        EXPECT_EQ(grid.state().headRow[column], 1) << "column " << column;
        EXPECT_EQ(grid.state().lastHead[column], (column - 1) * 3 + 1) << "column " << column;
    }
    EXPECT_EQ(grid.drawsSinceStart(), 2) << "only the clears of passes 2 and 4 draw";
}

TEST(GlyphRain, SpeedFourColumnThatWrapsInItsFirstStepStillMakesFourSteps)
{
    RainGrid grid(1, 3, {{4, 0}});
    grid.state().headRow[1] = 3; // at row 3, the edge column's top cell
    grid.state().lastHead[1] = 3;
    // Wrap: speed 1, glyph mode; then the clear of pass 2 (cell 0).
    grid.platform.randomSource.script({speedDraw(1), modeDraw(0), 0.0});
    grid.tick();

    EXPECT_EQ(grid.state().lastHead[1], 3) << "rows 0, 1, 2, 3 written in one tick";
    EXPECT_EQ(grid.state().headRow[1], 3);
    EXPECT_EQ(grid.state().columnSpeed[1], 1);
    EXPECT_EQ(grid.picture(), (Picture{".|o", "x", "x"})) << "row 0 cleared by pass 2";

    grid.platform.randomSource.script({speedDraw(1), modeDraw(0), 0.99});
    grid.tick();
    EXPECT_EQ(grid.state().lastHead[1], 0) << "the new speed counts from the next tick: one step";
    EXPECT_EQ(grid.picture(), (Picture{"o|x", "x", "."}));
}

struct WrapCase {
    const char* name;
    int modeBefore;
    int modeAfter;
    Picture afterWrap;
    double nextClear; // the next tick's clearing draw
    Picture afterNextStep;
};

class ModeChangingWrap : public ::testing::TestWithParam<WrapCase> {};

TEST_P(ModeChangingWrap, PaintsRowZeroByTheOldTextAndTheNewMode)
{
    const WrapCase& row = GetParam();
    RainGrid grid(1, 2, {{1, row.modeBefore}});
    grid.state().headRow[1] = 2;
    grid.state().lastHead[1] = 2;
    grid.form->M1.setCaptionCode(0, 'Q'); // row 0 holds an old dim character
    grid.form->M1.setCaptionCode(1, 'R');
    // A blank step draws its jump first; the wrap draws speed and mode;
    // pass 2 clears cell 1 (row 1).
    if (row.modeBefore == 1)
        grid.platform.randomSource.script({0.0});
    grid.platform.randomSource.script({speedDraw(1), modeDraw(row.modeAfter), 0.5});
    grid.tick();
    EXPECT_EQ(grid.picture(), row.afterWrap);
    EXPECT_EQ(grid.state().columnMode[1], row.modeAfter);

    if (row.modeAfter == 1)
        grid.platform.randomSource.script({0.0});
    grid.platform.randomSource.script({row.nextClear});
    grid.tick();
    EXPECT_EQ(grid.picture(), row.afterNextStep);
}

INSTANTIATE_TEST_SUITE_P(
    GlyphRain, ModeChangingWrap,
    ::testing::Values(
        // The character goes into row 0 but stays dim; blanks then wipe the column below it.
        WrapCase{"GlyphToBlankWritesACharacterWithoutBrightening", 0, 1, {"x|.", "."}, 0.99, {"x|.", "."}},
        // Row 0 is cleared and lit; the next step dims it.
        WrapCase{"BlankToGlyphClearsRowZeroAndBrightensIt", 1, 0, {"*|.", "."}, 0.0, {".|.", "o"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GlyphRain, RowRIsTheTopOfTheNextColumnAndTheRightHandWriteComesLast)
{
    RainGrid grid(2, 2, {{1, 0}, {1, 0}});
    grid.state().headRow[1] = 1; // column 1 steps into row 2: cell 2
    grid.state().lastHead[1] = 1;
    grid.state().headRow[2] = 2; // column 2 wraps to its row 0: cell 2 as well
    grid.state().lastHead[2] = 4;
    grid.platform.randomSource.scriptRepeated(0.0, 3); // pass 2's clear, then column 2's wrap
    grid.tick();

    EXPECT_EQ(grid.state().lastHead[1], 2);
    EXPECT_EQ(grid.state().lastHead[2], 2);
    EXPECT_EQ(grid.cell(2).captionCode, 2) << "column 1 wrote code 1, column 2 code 2 after it";
    EXPECT_EQ(grid.cell(2).foreColour, HEAD_COLOUR);
    EXPECT_EQ(grid.cell(4).foreColour, TRAIL_COLOUR);
}

TEST(GlyphRain, LastColumnReachesTheEdgeColumnsTopCell)
{
    RainGrid grid(2, 2, {{2, 0}, {2, 0}});
    grid.platform.randomSource.scriptRepeated(0.0, 10);
    grid.tick();
    EXPECT_EQ(grid.state().lastHead[2], 4) << "row 2 of column 2 is cell C x R";
    EXPECT_EQ(grid.picture(), (Picture{".o|o", "xx"}));
}

struct EdgeCase {
    const char* name;
    int columns;
    int clearsPerTick;
};

class EdgeColumnPass : public ::testing::TestWithParam<EdgeCase> {};

TEST_P(EdgeColumnPass, MakesNoStepAndClearsOnlyOnAnEvenPass)
{
    const EdgeCase& row = GetParam();
    std::vector<Column> seeds(static_cast<std::size_t>(row.columns), Column{1, 0});
    RainGrid grid(row.columns, 3, seeds, row.columns == 0 ? 10 : 5);
    grid.tick();

    EXPECT_EQ(grid.drawsSinceStart(), row.clearsPerTick) << "glyph steps without a wrap draw nothing";
    const int edgeTop = row.columns * 3;
    for (int index = edgeTop + 1; index < grid.form->M1.count(); ++index) {
        ASSERT_EQ(grid.cell(index).captionCode, kNoCaption) << "edge cell " << index;
        ASSERT_EQ(grid.cell(index).foreColour, TRAIL_COLOUR) << "edge cell " << index;
    }
    EXPECT_EQ(grid.state().columnSpeed[static_cast<std::size_t>(row.columns) + 1], 0);
    if (row.columns == 0) {
        EXPECT_TRUE(grid.form->M1.changes().empty()) << "no column: the tick changes nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(GlyphRain, EdgeColumnPass,
                         ::testing::Values(EdgeCase{"NoFullColumn", 0, 0}, EdgeCase{"OneColumn", 1, 1},
                                           EdgeCase{"TwoColumns", 2, 1}, EdgeCase{"ThreeColumns", 3, 2},
                                           EdgeCase{"EightColumns", 8, 4}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(GlyphRain, ClearingNeverPicksTheEdgeCellAndKeepsTheColour)
{
    RainGrid grid(1, 3, {{1, 0}});
    grid.form->M1.setCaptionCode(2, 'A');
    grid.form->M1.setForeColour(2, HEAD_COLOUR);
    grid.form->M1.setCaptionCode(3, 'B');
    grid.form->M1.setForeColour(3, HEAD_COLOUR);
    grid.platform.randomSource.script({0.9999999}); // the highest draw: Int(3 x r) = 2
    grid.tick();

    EXPECT_EQ(grid.cell(2).captionCode, kNoCaption);
    EXPECT_EQ(grid.cell(2).foreColour, HEAD_COLOUR);
    EXPECT_EQ(grid.cell(3).captionCode, 'B');
}

TEST(GlyphRain, OneRowColumnsAlternateBetweenTheirCellAndTheNeighboursTop)
{
    RainGrid grid(2, 1, {{1, 0}, {1, 0}});
    grid.platform.randomSource.scriptRepeated(0.0, 40); // wraps keep speed 1 and glyph mode
    const std::vector<std::pair<int, int>> heads{{1, 2}, {0, 1}, {1, 2}, {0, 1}};
    for (std::size_t tick = 0; tick < heads.size(); ++tick) {
        grid.tick();
        EXPECT_EQ(grid.state().lastHead[1], heads[tick].first) << "tick " << tick + 1;
        EXPECT_EQ(grid.state().lastHead[2], heads[tick].second) << "tick " << tick + 1;
    }
}

struct CodeCase {
    const char* name;
    std::int64_t codeBefore;
    int mode;
    double draw; // the restart's or the jump's draw
    std::int64_t codeAfter;
    int caption;
};

class GlyphCodes : public ::testing::TestWithParam<CodeCase> {};

TEST_P(GlyphCodes, AdvanceAndRestartAboveTheLastCode)
{
    const CodeCase& row = GetParam();
    RainGrid grid(1, 3, {{1, row.mode}});
    grid.state().glyphCode = row.codeBefore;
    grid.platform.randomSource.script({row.draw, 0.99});
    grid.tick();
    EXPECT_EQ(grid.state().glyphCode, row.codeAfter);
    EXPECT_EQ(grid.cell(1).captionCode, row.caption);
}

INSTANTIATE_TEST_SUITE_P(
    GlyphRain, GlyphCodes,
    ::testing::Values(CodeCase{"CountsUpTo255", 254, 0, 0.99, 255, 255},
                      CodeCase{"RestartsAfter255", 255, 0, 0.5, 127, 127},
                      CodeCase{"RestartsAtZeroOnTheLowestDraw", 255, 0, 0.0, 0, 0},
                      CodeCase{"RestartsFarAbove255", 100000, 0, 0.9999, 254, 254},
                      CodeCase{"BlankStepJumps", 200, 1, 0.9999, 454, kNoCaption}),
    [](const auto& info) { return std::string(info.param.name); });

// A long run with real-looking draws: only codes 0..255 and the two greens
// ever reach a cell, and the edge column's lower cells stay untouched.
TEST(GlyphRain, LongRunKeepsCaptionsColoursAndCellsInRange)
{
    RainGrid grid(12, 7, std::vector<Column>(12, Column{1, 0}));
    std::int64_t highestCode = 0;
    for (int tick = 0; tick < 3000; ++tick) {
        grid.tick();
        highestCode = std::max(highestCode, grid.state().glyphCode);
        for (int index : grid.form->M1.changes()) {
            const Cell& cell = grid.cell(index);
            ASSERT_LE(index, 12 * 7) << "tick " << tick;
            ASSERT_TRUE(cell.captionCode == kNoCaption || (cell.captionCode >= 0 && cell.captionCode <= 255));
            ASSERT_TRUE(cell.foreColour == HEAD_COLOUR || cell.foreColour == TRAIL_COLOUR);
        }
        grid.form->M1.clearChanges();
    }
    EXPECT_GT(highestCode, 255) << "blank steps pushed the code past 255 at some point";
}

TEST(GlyphRain, NoRowOrNoStartLeavesTheScreenStill)
{
    FakeForm fake(3 * kCellWidth, kCellHeight - 1); // cells taller than the screen: R = 0
    testing::FakePlatform& platform = fake.platform;
    Form1& form = fake.make();
    form.Timer1.setEnabled(false);
    form.Timer1_Timer(); // before start-up: nothing seeded
    form.StartSaver();
    form.M1.clearChanges();
    const int draws = platform.randomSource.draws;
    form.Timer1_Timer();
    EXPECT_EQ(platform.randomSource.draws, draws);
    EXPECT_TRUE(form.M1.changes().empty());
}

} // namespace
} // namespace korval
