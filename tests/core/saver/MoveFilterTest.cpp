#include "core/saver/MoveFilter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korval {
namespace {

// Each row: where the filter starts (or not), the positions of a run of
// WM_MOUSEMOVE messages, and which of them count as moves ('x') or not ('.').
struct Row {
    const char* name;
    bool started;
    MoveFilter::Point start;
    std::vector<MoveFilter::Point> messages;
    const char* counted;
};

const Row kRows[] = {
    {"the message a window brings as it shows, at the pointer", true, {500, 400}, {{500, 400}}, "."},
    {"the first real move counts", true, {500, 400}, {{501, 400}}, "x"},
    {"a move along y alone counts", true, {500, 400}, {{500, 399}}, "x"},
    {"repeats at one place count once", true, {0, 0}, {{5, 5}, {5, 5}, {5, 5}, {6, 5}}, "x..x"},
    {"back to an earlier place is a move", true, {0, 0}, {{1, 0}, {0, 0}, {1, 0}}, "xxx"},
    {"negative places on a monitor left of the primary", true, {-10, -20}, {{-10, -20}, {-11, -20}}, ".x"},
    {"without a start the first message only sets the place", false, {}, {{3, 4}, {3, 4}, {3, 5}}, "..x"},
    {"eight moves, each to a new place", true, {0, 0},
     {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}, {6, 0}, {7, 0}, {8, 0}}, "xxxxxxxx"},
};

TEST(MoveFilterTest, CountsOnlyMovesToAnotherPlace)
{
    for (const Row& row : kRows) {
        MoveFilter filter;
        if (row.started)
            filter.startAt(row.start);
        std::string counted;
        for (const MoveFilter::Point& point : row.messages)
            counted += filter.moved(point) ? 'x' : '.';
        EXPECT_EQ(counted, row.counted) << row.name;
    }
}

} // namespace
} // namespace korval
