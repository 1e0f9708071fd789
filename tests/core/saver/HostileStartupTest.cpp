// Hostile stored settings where the saver reads them, at start-up. Every
// case ends either in a grid built from the values as the user's regional
// format reads them (or from the defaults, when nothing usable is stored),
// or in the one message box of the run-time error and the end of the
// program. None of them crashes, and none of them writes to the store.

#include "core/support/FakeForm.h"
#include "core/support/StartupOutcome.h"
#include "core/support/Formats.h"

#include "core/saver/Form1.h"

#include "core/runtime/HandlerGuard.h"
#include "core/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

using testing::FakeForm;
namespace keys = settings;

const RegionalFormat kInvariant = testing::invariantFormat();
const RegionalFormat kCzech = testing::czechFormat();
const RegionalFormat kGerman = testing::germanFormat();
const RegionalFormat kArabic = testing::arabicFormat();

using testing::Outcome;
using testing::cell;
using testing::fails;

struct HostileValueRow {
    const char* name;
    const RegionalFormat* format;
    const settings::SettingKey* key;
    std::string value;
    Outcome outcome;
};

// Starts a saver on a 1024 x 768 screen the way the program does: inside the
// handler guard, so that an error ends in the platform's message box.
struct GuardedStart {
    explicit GuardedStart(FakeForm& fake) : fake(fake)
    {
        Form1& form = fake.make();
        form.Timer1.setEnabled(false);
        runGuarded(fake.platform, [&form] { form.StartSaver(); });
    }

    FakeForm& fake;
};

void expectOutcome(const FakeForm& fake, const Outcome& outcome)
{
    testing::expectOutcome(fake.platform, fake.form->M1, outcome);
}

class HostileValue : public ::testing::TestWithParam<HostileValueRow> {};

TEST_P(HostileValue, BuildsTheGridOrEndsWithTheRunTimeError)
{
    const HostileValueRow& row = GetParam();
    FakeForm fake;
    fake.platform.format = *row.format;
    fake.store.put(*row.key, row.value);

    const GuardedStart start(fake);

    expectOutcome(fake, row.outcome);
    EXPECT_EQ(fake.store.writes, 0) << "start-up wrote to the store";
    EXPECT_EQ(fake.store.value(*row.key), row.value);
}

const auto W = &keys::kWidth;
const auto H = &keys::kHeight;
const auto T = &keys::kTextSize;

INSTANTIATE_TEST_SUITE_P(
    Table, HostileValue,
    ::testing::Values(
        // Out of the single-precision range, or not a number a user can type.
        HostileValueRow{"hugeWidth", &kInvariant, W, "1e39", fails(RuntimeError::Overflow)},
        HostileValueRow{"hugeNegativeHeight", &kInvariant, H, "-1e39", fails(RuntimeError::Overflow)},
        HostileValueRow{"beyondDouble", &kInvariant, W, "1e309", fails(RuntimeError::Overflow)},
        HostileValueRow{"hugeTextSize", &kGerman, T, "1e39", fails(RuntimeError::Overflow)},
        HostileValueRow{"nanWidth", &kInvariant, W, "nan", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"infHeight", &kInvariant, H, "inf", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"infTextSize", &kGerman, T, "-inf", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"negativeZeroHeight", &kInvariant, H, "-0", fails(RuntimeError::DivisionByZero)},
        HostileValueRow{"negativeZeroWidth", &kGerman, W, "-0", fails(RuntimeError::DivisionByZero)},
        HostileValueRow{"negativeZeroTextSize", &kInvariant, T, "-0", fails(RuntimeError::InvalidPropertyValue)},
        // The decimal separator of the user's format, and the other one.
        HostileValueRow{"pointUnderPoint", &kInvariant, W, "1.5", cell(1.5f)},
        HostileValueRow{"commaUnderComma", &kGerman, W, "1,5", cell(1.5f)},
        HostileValueRow{"commaUnderPoint", &kInvariant, H, "1,5", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"pointUnderComma", &kGerman, H, "1.5", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"commaTextSizeUnderComma", &kCzech, T, "10,5", cell(13, 18, 10.5f)},
        // Digits from other scripts count only in a format that uses them.
        HostileValueRow{"arabicIndicDigitsUnderArabic", &kArabic, W, "\u0661\u0666", cell(16)},
        HostileValueRow{"arabicIndicDigitsUnderPoint", &kInvariant, W, "\u0661\u0666",
                        fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"devanagariDigits", &kInvariant, H, "\u0968\u0966", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"fullwidthDigits", &kInvariant, W, "\uff11\uff16", fails(RuntimeError::TypeMismatch)},
        // Spaces and line ends around a number are not part of it.
        HostileValueRow{"spacesAround", &kInvariant, W, "  16  ", cell(16)},
        HostileValueRow{"tabAndNewline", &kGerman, H, "\t20,5\n", cell(13, 20.5f)},
        HostileValueRow{"spaceInside", &kInvariant, W, "1 6", fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"onlySpaces", &kInvariant, H, "   ", fails(RuntimeError::TypeMismatch)},
        // Text that is not UTF-8 is no number.
        HostileValueRow{"invalidUtf8", &kInvariant, W, "1\xff" "6", fails(RuntimeError::TypeMismatch)},
        // A megabyte of text is read whole and refused like any other.
        HostileValueRow{"megabyteOfDigits", &kInvariant, W, std::string(1 << 20, '7'), fails(RuntimeError::Overflow)},
        HostileValueRow{"megabyteOfLetters", &kInvariant, T, std::string(1 << 20, 'x'),
                        fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"megabyteOfZeros", &kInvariant, W, std::string(1 << 20, '0') + "16", cell(16)}),
    [](const auto& info) { return std::string(info.param.name); });

// The banner setting is kept as text and never converted at start-up, so no
// text in it can stop the saver.
TEST(HostileStartup, AnyBannerTextStartsTheSaver)
{
    for (const std::string& text : {std::string("nan"), std::string("1e39"), std::string("\u0661"),
                                    std::string(1 << 20, '1'), std::string(" 1 "), std::string("\xff\xfe")}) {
        FakeForm fake;
        fake.store.put(keys::kSystem, text);
        const GuardedStart start(fake);
        EXPECT_TRUE(fake.platform.messages.empty());
        EXPECT_EQ(fake.form->state.bannerFlag, text);
    }
}

// A user of a decimal-comma format writes fractions as the program's own
// format shows them.
TEST(HostileStartup, DecimalCommasBuildTheGrid)
{
    FakeForm fake;
    fake.platform.format = kCzech;
    fake.store.put(keys::kTextSize, "8,5");
    fake.store.put(keys::kWidth, "13,5");
    fake.store.put(keys::kHeight, "18,25");
    const GuardedStart start(fake);
    expectOutcome(fake, cell(13.5f, 18.25f, 8.5f));
}

struct TinyCellsRow {
    const char* name;
    int screenWidth;
    int screenHeight;
    Outcome outcome;
};

class TinyCells : public ::testing::TestWithParam<TinyCellsRow> {};

// Cells of one pixel make a grid of a cell per pixel: up to the grid's
// ceiling it is built, past it start-up ends with "Out of memory" before
// taking the memory, as a failed allocation would.
TEST_P(TinyCells, BuildTheGridUpToItsCeilingAndEndWithOutOfMemoryPastIt)
{
    const TinyCellsRow& row = GetParam();
    FakeForm fake(row.screenWidth, row.screenHeight);
    fake.store.put(keys::kWidth, "1");
    fake.store.put(keys::kHeight, "1");
    fake.store.put(keys::kTextSize, "8");
    const GuardedStart start(fake);
    expectOutcome(fake, row.outcome);
    if (row.outcome.error == 0) {
        EXPECT_EQ(fake.form->M1.count(), row.screenWidth * (row.screenHeight + 1) + 2);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TinyCells,
                         ::testing::Values(TinyCellsRow{"fullHd", 1920, 1080, cell(1, 1, 8)},
                                           TinyCellsRow{"uhd4K", 3840, 2160, cell(1, 1, 8)},
                                           TinyCellsRow{"fiveK", 5120, 2880, fails(RuntimeError::OutOfMemory)},
                                           TinyCellsRow{"eightK", 7680, 4320, fails(RuntimeError::OutOfMemory)}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
