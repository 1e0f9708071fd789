#include "core/saver/MoveFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korval {
namespace {

enum class Kind { Start, Enter, Report };

struct Event {
    Kind kind;
    PointF place;
};

// Each row: what the filter hears, in order, and which of the reports and
// enterings count as moves ('x') or not ('.').
struct Row {
    const char* name;
    std::vector<Event> events;
    const char* counted;
};

constexpr Kind S = Kind::Start;
constexpr Kind E = Kind::Enter;
constexpr Kind R = Kind::Report;

const Row kRows[] = {
    {"the report a window brings as it shows, at the pointer", {{S, {500, 400}}, {R, {500, 400}}}, "."},
    {"the first real move counts", {{S, {500, 400}}, {R, {501, 400}}}, "x"},
    {"a move along y alone counts", {{S, {500, 400}}, {R, {500, 399}}}, "x"},
    {"repeats at one place count once", {{S, {0, 0}}, {R, {5, 5}}, {R, {5, 5}}, {R, {5, 5}}, {R, {6, 5}}}, "x..x"},
    {"back to an earlier place is a move", {{S, {0, 0}}, {R, {1, 0}}, {R, {0, 0}}, {R, {1, 0}}}, "xxx"},
    {"negative places on a monitor left of the primary", {{S, {-10, -20}}, {R, {-10, -20}}, {R, {-11, -20}}}, ".x"},
    {"a place between pixels is the pixel it lies on", {{S, {300, 300}}, {R, {300.4, 300.9}}, {R, {301.2, 300}}}, ".x"},
    {"left of a negative pixel's edge is the pixel before", {{S, {-1, 0}}, {R, {-0.5, 0}}, {R, {-1.5, 0}}}, ".x"},
    {"without a start the first report only sets the place", {{R, {3, 4}}, {R, {3, 4}}, {R, {3, 5}}}, "..x"},
    {"without a start, entering a window sets it", {{E, {3, 4}}, {R, {3, 4}}, {R, {3, 5}}}, "..x"},
    {"a window that appears under the resting pointer is entered in place", {{S, {5, 5}}, {E, {5, 5}}}, "."},
    {"a move into another window comes as its entering",
     {{S, {0, 0}}, {R, {10, 0}}, {E, {20, 0}}, {R, {20, 0}}, {R, {21, 0}}},
     "xx.x"},
    {"eight moves, each to a new place",
     {{S, {0, 0}},
      {R, {1, 0}},
      {R, {2, 0}},
      {R, {3, 0}},
      {R, {4, 0}},
      {R, {5, 0}},
      {R, {6, 0}},
      {R, {7, 0}},
      {R, {8, 0}}},
     "xxxxxxxx"},
};

TEST(MoveFilterTest, CountsOnlyMovesToAnotherPixel)
{
    for (const Row& row : kRows) {
        MoveFilter filter;
        std::string counted;
        for (const Event& event : row.events) {
            if (event.kind == Kind::Start)
                filter.startAt(event.place);
            else if (event.kind == Kind::Enter)
                counted += filter.entered(event.place) ? 'x' : '.';
            else
                counted += filter.moved(event.place) ? 'x' : '.';
        }
        EXPECT_EQ(counted, row.counted) << row.name;
    }
}

} // namespace
} // namespace korval
