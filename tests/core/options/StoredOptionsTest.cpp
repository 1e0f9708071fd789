#include "support/TempStore.h"

#include "core/options/StoredOptions.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <optional>

namespace korval {
namespace {

using testing::TempStore;
namespace keys = settings;

// A letter whose size is easy to reckon with: one pixel wider and six taller
// than the font size, so a size of 10 gives 11 x 16.
QSize simpleLetter(double pointSize)
{
    const int points = static_cast<int>(pointSize);
    return {points + 1, points + 6};
}

struct StoredRow {
    const char* name;
    std::optional<QString> textSize, width, height, system;
    DialogFields shown;
};

class StoredOptionsTest : public ::testing::TestWithParam<StoredRow> {};

TEST_P(StoredOptionsTest, ShowsUsableValuesAndDefaultsForTheRest)
{
    const StoredRow& row = GetParam();
    TempStore temp;
    if (row.textSize)
        temp.set(keys::kTextSize, *row.textSize);
    if (row.width)
        temp.set(keys::kWidth, *row.width);
    if (row.height)
        temp.set(keys::kHeight, *row.height);
    if (row.system)
        temp.set(keys::kSystem, *row.system);
    const QByteArray before = temp.fileBytes();

    EXPECT_EQ(readStoredOptions(temp.store, simpleLetter), row.shown);
    EXPECT_EQ(temp.fileBytes(), before) << "showing the settings must not change them";
}

const QString none;

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
    const QLocale previous;
    QLocale::setDefault(QLocale(QStringLiteral("cs_CZ")));
    TempStore temp;
    temp.set(keys::kTextSize, QStringLiteral("10"));
    temp.set(keys::kWidth, QStringLiteral("13,5"));
    temp.set(keys::kHeight, QStringLiteral("18"));
    temp.set(keys::kSystem, QStringLiteral("0"));
    const DialogFields shown = readStoredOptions(temp.store, simpleLetter);
    QLocale::setDefault(previous);
    EXPECT_EQ(shown, (DialogFields{"10", "2,5", "2", 0}));
}

} // namespace
} // namespace korval
