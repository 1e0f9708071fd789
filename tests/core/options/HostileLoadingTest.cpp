// Hostile stored settings where the options dialog reads them, as it opens.
// Loading never fails: a value the user's regional format cannot read shows
// the saver's default for its key, a readable one shows as the gap it makes,
// and the store stays as it was.

#include "core/support/Formats.h"
#include "core/support/MemoryStore.h"

#include "core/options/StoredOptions.h"

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

using testing::MemoryStore;
namespace keys = settings;

const RegionalFormat kInvariant = testing::invariantFormat();
const RegionalFormat kCzech = testing::czechFormat();
const RegionalFormat kGerman = testing::germanFormat();
const RegionalFormat kArabic = testing::arabicFormat();

// One pixel wider and six taller than the font size: size 10 gives 11 x 16,
// so the saver's default 13 x 18 shows gaps of 2 and 2.
LetterSize simpleLetter(double pointSize)
{
    const int points = static_cast<int>(pointSize);
    return {points + 1, points + 6};
}

const DialogFields kDefaults{"10", "2", "2", 1};

DialogFields withColumnGap(const std::string& gap) { return {"10", gap, "2", 1}; }
DialogFields withRowGap(const std::string& gap) { return {"10", "2", gap, 1}; }
DialogFields withBanner(int choice) { return {"10", "2", "2", choice}; }

struct HostileValueRow {
    const char* name;
    const RegionalFormat* format;
    const settings::SettingKey* key;
    std::string value;
    DialogFields shown;
};

class HostileLoading : public ::testing::TestWithParam<HostileValueRow> {};

TEST_P(HostileLoading, ShowsWhatCanBeReadAndDefaultsForTheRest)
{
    const HostileValueRow& row = GetParam();
    MemoryStore store;
    store.put(*row.key, row.value);

    EXPECT_EQ(readStoredOptions(store, simpleLetter, *row.format), row.shown);
    EXPECT_EQ(store.writes, 0) << "loading wrote to the store";
    EXPECT_EQ(store.value(*row.key), row.value);
}

const auto T = &keys::kTextSize;
const auto W = &keys::kWidth;
const auto H = &keys::kHeight;
const auto S = &keys::kSystem;

INSTANTIATE_TEST_SUITE_P(
    Table, HostileLoading,
    ::testing::Values(
        // Numbers beyond single precision are shown for the user to mend.
        HostileValueRow{"hugeWidth", &kInvariant, W, "1e39", withColumnGap("1e+39")},
        HostileValueRow{"hugeNegativeHeight", &kInvariant, H, "-1e39", withRowGap("-1e+39")},
        HostileValueRow{"beyondDouble", &kInvariant, W, "1e309", kDefaults},
        HostileValueRow{"hugeTextSize", &kInvariant, T, "1e39", kDefaults},
        HostileValueRow{"nanWidth", &kInvariant, W, "nan", kDefaults},
        HostileValueRow{"infHeight", &kGerman, H, "inf", kDefaults},
        HostileValueRow{"negativeZeroWidth", &kInvariant, W, "-0", withColumnGap("-11")},
        // The decimal separator of the user's format, and the other one.
        HostileValueRow{"pointUnderPoint", &kInvariant, W, "1.5", withColumnGap("-9.5")},
        HostileValueRow{"commaUnderComma", &kGerman, W, "1,5", withColumnGap("-9,5")},
        HostileValueRow{"commaUnderPoint", &kInvariant, H, "1,5", kDefaults},
        HostileValueRow{"pointUnderComma", &kGerman, H, "1.5", kDefaults},
        HostileValueRow{"commaTextSize", &kCzech, T, "10,0", kDefaults},
        // Digits from other scripts count only in a format that uses them.
        HostileValueRow{"arabicIndicUnderArabic", &kArabic, W, "\u0661\u0666", {"10", "\u0665", "\u0662", 1}},
        HostileValueRow{"arabicIndicUnderPoint", &kInvariant, W, "\u0661\u0666", kDefaults},
        HostileValueRow{"fullwidthDigits", &kInvariant, H, "\uff12\uff10", kDefaults},
        // Spaces around a number are not part of it.
        HostileValueRow{"spacesAround", &kInvariant, W, "  16  ", withColumnGap("5")},
        HostileValueRow{"onlySpaces", &kInvariant, H, "   ", kDefaults},
        // Text that is not UTF-8 is no number.
        HostileValueRow{"invalidUtf8", &kInvariant, W, "1\xff" "6", kDefaults},
        // A megabyte of text is read whole and refused like any other.
        HostileValueRow{"megabyteOfDigits", &kInvariant, W, std::string(1 << 20, '9'), kDefaults},
        HostileValueRow{"megabyteOfZeros", &kInvariant, H, std::string(1 << 20, '0') + "20", withRowGap("4")},
        // The banner choice is yes only for a number equal to 1.
        HostileValueRow{"bannerNan", &kInvariant, S, "nan", withBanner(1)},
        HostileValueRow{"bannerNegativeZero", &kInvariant, S, "-0", withBanner(0)},
        HostileValueRow{"bannerHuge", &kInvariant, S, "1e39", withBanner(0)},
        HostileValueRow{"bannerSpaces", &kInvariant, S, " 1 ", withBanner(1)},
        HostileValueRow{"bannerCommaOne", &kGerman, S, "1,0", withBanner(1)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
