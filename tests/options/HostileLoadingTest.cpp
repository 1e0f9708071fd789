// Hostile stored settings where the options dialog reads them, as it opens.
// Loading never fails: a value the user's regional format cannot read shows
// the saver's default for its key, a readable one shows as the gap it makes,
// and the settings file stays as it was.

#include "support/LocaleScope.h"
#include "support/SettingsFiles.h"
#include "support/TempStore.h"

#include "options/StoredOptions.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <functional>

namespace korval {
namespace {

using testing::TempStore;
namespace keys = settings;
using namespace Qt::StringLiterals;

// One pixel wider and six taller than the font size: size 10 gives 11 x 16,
// so the saver's default 13 x 18 shows gaps of 2 and 2.
QSize simpleLetter(double pointSize)
{
    const int points = static_cast<int>(pointSize);
    return {points + 1, points + 6};
}

const DialogFields kDefaults{u"10"_s, u"2"_s, u"2"_s, 1};

DialogFields withColumnGap(const QString& gap) { return {u"10"_s, gap, u"2"_s, 1}; }
DialogFields withRowGap(const QString& gap) { return {u"10"_s, u"2"_s, gap, 1}; }
DialogFields withBanner(int choice) { return {u"10"_s, u"2"_s, u"2"_s, choice}; }

using testing::LocaleScope;
using testing::binaryGarbage;
using testing::deeplyNestedVariant;
using testing::variantSpellings;
using testing::writeBytes;

struct HostileValueRow {
    const char* name;
    const char* locale;
    const settings::SettingKey* key;
    QString value;
    DialogFields shown;
};

class HostileLoading : public ::testing::TestWithParam<HostileValueRow> {};

TEST_P(HostileLoading, ShowsWhatCanBeReadAndDefaultsForTheRest)
{
    const HostileValueRow& row = GetParam();
    LocaleScope locale(row.locale);
    TempStore temp;
    temp.set(*row.key, row.value);
    const QByteArray before = temp.fileBytes();

    EXPECT_EQ(readStoredOptions(temp.store, simpleLetter), row.shown);
    EXPECT_TRUE(temp.fileBytes() == before) << "loading changed the settings file";
}

const auto T = &keys::kTextSize;
const auto W = &keys::kWidth;
const auto H = &keys::kHeight;
const auto S = &keys::kSystem;

INSTANTIATE_TEST_SUITE_P(
    Table, HostileLoading,
    ::testing::Values(
        // Numbers beyond single precision are shown for the user to mend.
        HostileValueRow{"hugeWidth", "en_US", W, u"1e39"_s, withColumnGap(u"1E+39"_s)},
        HostileValueRow{"hugeNegativeHeight", "en_US", H, u"-1e39"_s, withRowGap(u"-1E+39"_s)},
        HostileValueRow{"beyondDouble", "en_US", W, u"1e309"_s, kDefaults},
        HostileValueRow{"hugeTextSize", "en_US", T, u"1e39"_s, kDefaults},
        HostileValueRow{"nanWidth", "en_US", W, u"nan"_s, kDefaults},
        HostileValueRow{"infHeight", "de_DE", H, u"inf"_s, kDefaults},
        HostileValueRow{"negativeZeroWidth", "en_US", W, u"-0"_s, withColumnGap(u"-11"_s)},
        // The decimal separator of the user's format, and the other one.
        HostileValueRow{"pointUnderPoint", "en_US", W, u"1.5"_s, withColumnGap(u"-9.5"_s)},
        HostileValueRow{"commaUnderComma", "de_DE", W, u"1,5"_s, withColumnGap(u"-9,5"_s)},
        HostileValueRow{"commaUnderPoint", "en_US", H, u"1,5"_s, kDefaults},
        HostileValueRow{"pointUnderComma", "de_DE", H, u"1.5"_s, kDefaults},
        HostileValueRow{"commaTextSize", "cs_CZ", T, u"10,0"_s, kDefaults},
        // Digits from other scripts count only in a format that uses them.
        HostileValueRow{"arabicIndicUnderArabic", "ar_EG", W, u"\u0661\u0666"_s,
                        {u"10"_s, u"\u0665"_s, u"\u0662"_s, 1}},
        HostileValueRow{"arabicIndicUnderPoint", "en_US", W, u"\u0661\u0666"_s, kDefaults},
        HostileValueRow{"fullwidthDigits", "en_US", H, u"\uff12\uff10"_s, kDefaults},
        // Spaces around a number are not part of it.
        HostileValueRow{"spacesAround", "en_US", W, u"  16  "_s, withColumnGap(u"5"_s)},
        HostileValueRow{"onlySpaces", "en_US", H, u"   "_s, kDefaults},
        // A megabyte of text is read whole and refused like any other.
        HostileValueRow{"megabyteOfDigits", "en_US", W, QString(1 << 20, u'9'), kDefaults},
        HostileValueRow{"megabyteOfZeros", "en_US", H, QString(1 << 20, u'0') + u"20"_s, withRowGap(u"4"_s)},
        // The banner choice is yes only for a number equal to 1.
        HostileValueRow{"bannerNan", "en_US", S, u"nan"_s, withBanner(1)},
        HostileValueRow{"bannerNegativeZero", "en_US", S, u"-0"_s, withBanner(0)},
        HostileValueRow{"bannerHuge", "en_US", S, u"1e39"_s, withBanner(0)},
        HostileValueRow{"bannerSpaces", "en_US", S, u" 1 "_s, withBanner(1)},
        HostileValueRow{"bannerCommaOne", "de_DE", S, u"1,0"_s, withBanner(1)}),
    [](const auto& info) { return std::string(info.param.name); });

struct HostileFileRow {
    const char* name;
    std::function<void(const QString& path)> make; // puts something where the settings file goes
};

class HostileFileLoading : public ::testing::TestWithParam<HostileFileRow> {};

TEST_P(HostileFileLoading, ShowsTheDefaultsAndLeavesTheFileAlone)
{
    TempStore temp;
    GetParam().make(temp.filePath());
    const QByteArray before = temp.fileBytes();
    EXPECT_EQ(readStoredOptions(temp.store, simpleLetter), kDefaults);
    EXPECT_TRUE(temp.fileBytes() == before);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileFileLoading,
    ::testing::Values(HostileFileRow{"binaryGarbage", [](const QString& path) { writeBytes(path, binaryGarbage(4096)); }},
                      HostileFileRow{"tenMegabytesOfGarbage",
                                     [](const QString& path) { writeBytes(path, binaryGarbage(10 << 20)); }},
                      // Text that a binary decoder would take for serialised values is no number.
                      HostileFileRow{"serialisedValueSpellings",
                                     [](const QString& path) { writeBytes(path, variantSpellings()); }},
                      HostileFileRow{"deeplyNestedSerialisedValue",
                                     [](const QString& path) { writeBytes(path, deeplyNestedVariant()); }},
                      HostileFileRow{"aFolder", [](const QString& path) { QDir().mkpath(path); }},
                      HostileFileRow{"aDanglingLink",
                                     [](const QString& path) {
                                         QDir().mkpath(QFileInfo(path).absolutePath());
                                         QFile::link(path + QStringLiteral(".gone"), path);
                                     }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
