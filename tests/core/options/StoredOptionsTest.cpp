#include "core/support/Formats.h"
#include "core/support/MemoryStore.h"

#include "core/options/StoredOptions.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korval {
namespace {

using testing::MemoryStore;
namespace keys = settings;

// A letter whose size is easy to reckon with: one pixel wider and six taller
// than the font size, so a size of 10 gives 11 x 16.
LetterSize simpleLetter(double pointSize)
{
    const int points = static_cast<int>(pointSize);
    return {points + 1, points + 6};
}

struct StoredRow {
    const char* name;
    std::optional<std::string> textSize, width, height, system;
    DialogFields shown;
};

class StoredOptionsTest : public ::testing::TestWithParam<StoredRow> {};

TEST_P(StoredOptionsTest, ShowsUsableValuesAndDefaultsForTheRest)
{
    const StoredRow& row = GetParam();
    MemoryStore store;
    if (row.textSize)
        store.put(keys::kTextSize, *row.textSize);
    if (row.width)
        store.put(keys::kWidth, *row.width);
    if (row.height)
        store.put(keys::kHeight, *row.height);
    if (row.system)
        store.put(keys::kSystem, *row.system);

    EXPECT_EQ(readStoredOptions(store, simpleLetter, testing::invariantFormat()), row.shown);
    EXPECT_EQ(store.writes, 0) << "showing the settings must not change them";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoredOptionsTest,
    ::testing::Values(
        // Size 10 measures 11 x 16, so the saver's 13 x 18 shows gaps of 2 and 2.
        StoredRow{"NothingStoredShowsTheSaversDefaults", {}, {}, {}, {}, {"10", "2", "2", 1}},
        StoredRow{"StoredValuesAsTheyAre", "12", "16", "21", "1", {"12", "3", "3", 1}},
        StoredRow{"WidthEqualToTheLetterShowsNoGap", "12", "13", "18", "0", {"12", "0", "0", 0}},
        StoredRow{"SmallerCellShowsANegativeGap", "12", "12", "17", "0", {"12", "-1", "-1", 0}},
        StoredRow{"SystemWithLeadingZeroIsYes", "8", "9", "14", "01", {"8", "0", "0", 1}},
        StoredRow{"SystemTwoIsNo", "8", "9", "14", "2", {"8", "0", "0", 0}},
        StoredRow{"SizeNotInTheListFallsBackToTen", "18", "13", "18", "1", {"10", "2", "2", 1}},
        StoredRow{"SizeWithSpacesFallsBackToTen", " 12", "13", "18", "1", {"10", "2", "2", 1}},
        StoredRow{"EmptyValuesFallBackEachOnItsOwn", "", "", "20", "", {"10", "2", "4", 1}},
        StoredRow{"LettersFallBackEachOnItsOwn", "24", "wide", "40", "yes", {"24", "-12", "10", 1}},
        StoredRow{"FractionalCellShowsAFractionalGap", "10", "13.5", "18", "1", {"10", "2.5", "2", 1}},
        StoredRow{"HugeCellIsShownForTheUserToMend", "10", "1e300", "18", "1", {"10", "1e+300", "2", 1}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StoredOptions, ReadsAndShowsNumbersInTheUsersRegionalFormat)
{
    MemoryStore store;
    store.put(keys::kTextSize, "10");
    store.put(keys::kWidth, "13,5");
    store.put(keys::kHeight, "18");
    store.put(keys::kSystem, "0");
    EXPECT_EQ(readStoredOptions(store, simpleLetter, testing::czechFormat()), (DialogFields{"10", "2,5", "2", 0}));
}

} // namespace
} // namespace korval
