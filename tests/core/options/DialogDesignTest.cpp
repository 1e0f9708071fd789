#include "core/options/DialogDesign.h"

#include <gtest/gtest.h>

#include <set>

namespace korval {
namespace {

// Every control of the design lies inside the client area, appears once,
// and no two visible controls overlap: a front end that lays the table out
// as it stands shows every caption and box whole.
TEST(DialogDesign, PlacesEveryControlOnceInsideTheClientAreaWithoutOverlap)
{
    std::set<DialogControl> seen;
    for (const ControlDesign& design : kDialogDesign) {
        EXPECT_TRUE(seen.insert(design.control).second) << design.caption;
        EXPECT_GE(design.left, 0) << design.caption;
        EXPECT_GE(design.top, 0) << design.caption;
        EXPECT_LE(design.left + design.width, kDialogWidth) << design.caption;
        EXPECT_LE(design.top + design.height, kDialogHeight) << design.caption;
        EXPECT_EQ(&designOf(design.control), &design);
    }
    for (const ControlDesign& a : kDialogDesign) {
        for (const ControlDesign& b : kDialogDesign) {
            if (&a == &b || a.control == DialogControl::Label7 || b.control == DialogControl::Label7)
                continue; // the measuring label never shows
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left
                               || a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << a.caption << " overlaps " << b.caption;
        }
    }
}

} // namespace
} // namespace korval
