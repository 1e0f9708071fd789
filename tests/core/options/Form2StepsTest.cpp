#include "core/support/FakePlatform.h"
#include "core/support/Formats.h"
#include "core/support/MemoryStore.h"

#include "core/options/Form2.h"
#include "core/options/OptionsView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::MemoryStore;
namespace keys = settings;

// The dialog's window as the steps see it: it records what it is shown and
// gives back what the test typed. The letter "M" measures ceil(0.9 pt) x
// ceil(1.5 pt): 9 x 15 at size 10, 11 x 18 at 12, 22 x 36 at 24.
class FakeView final : public OptionsView {
public:
    void listFontSizes() override
    {
        ++listings;
        selected.clear();
    }
    void selectFontSize(const std::string& text) override
    {
        const bool offered = std::find(kFontSizes.begin(), kFontSizes.end(), text) != kFontSizes.end();
        selected = offered ? text : std::string();
    }
    std::string selectedFontSize() const override { return selected; }
    void setGaps(const std::string& column, const std::string& row) override
    {
        ++gapsShown;
        columnText = column;
        rowText = row;
    }
    std::string columnGap() const override { return columnText; }
    std::string rowGap() const override { return rowText; }
    void showBannerChoice(int choice) override { choicesShown.push_back(choice); }
    LetterSize measureLetter(double pointSize) override
    {
        return {static_cast<int>(std::ceil(pointSize * 9 / 10)), static_cast<int>(std::ceil(pointSize * 3 / 2))};
    }

    // What the user typed or chose.
    void type(const std::string& size, const std::string& column, const std::string& row)
    {
        selected = size;
        columnText = column;
        rowText = row;
    }

    int listings = 0;
    int gapsShown = 0;
    std::string selected;
    std::string columnText;
    std::string rowText;
    std::vector<int> choicesShown;
};

using Stored = std::vector<std::optional<std::string>>; // size, width, height, system

// The dialog on a store of its own, opened as the program opens it.
struct Dialog {
    explicit Dialog(const Stored& values = {}, const RegionalFormat& format = testing::invariantFormat())
    {
        platform.format = format;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i])
                store.put(keys::kAllKeys[i], *values[i]);
        }
    }
    Form2& open()
    {
        view = FakeView();
        form = std::make_unique<Form2>(platform, store, view);
        form->Form_Load();
        return *form;
    }
    Stored stored() const
    {
        Stored values;
        for (const settings::SettingKey& key : keys::kAllKeys)
            values.push_back(store.value(key));
        return values;
    }

    FakePlatform platform;
    MemoryStore store;
    FakeView view;
    std::unique_ptr<Form2> form;
};

// --- Loading ------------------------------------------------------------------

struct LoadRow {
    const char* name;
    Stored values;
    const RegionalFormat* format;
    std::string size, columnGap, rowGap;
    int choice;
};

class Form2Load : public ::testing::TestWithParam<LoadRow> {};

TEST_P(Form2Load, ShowsTheStoredValuesAsGapsAndDefaultsForTheRest)
{
    const LoadRow& row = GetParam();
    Dialog dialog(row.values, *row.format);
    Form2& form = dialog.open();

    EXPECT_EQ(dialog.view.listings, 1);
    EXPECT_EQ(dialog.view.selected, row.size);
    EXPECT_EQ(dialog.view.columnText, row.columnGap);
    EXPECT_EQ(dialog.view.rowText, row.rowGap);
    EXPECT_EQ(form.bannerChoice, row.choice);
    EXPECT_EQ(dialog.view.choicesShown, std::vector<int>{row.choice});
    EXPECT_EQ(dialog.store.writes, 0) << "opening must not write";
    EXPECT_FALSE(dialog.platform.ended());
}

const RegionalFormat kInvariant = testing::invariantFormat();
const RegionalFormat kCzech = testing::czechFormat();
const std::nullopt_t none = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rows, Form2Load,
    ::testing::Values(
        // The saver's 13 x 18 at size 10 less the letter's 9 x 15.
        LoadRow{"NothingStoredShowsTheSaversDefaults", {}, &kInvariant, "10", "4", "3", 1},
        LoadRow{"StoredValues", {"12", "16", "21", "1"}, &kInvariant, "12", "5", "3", 1},
        LoadRow{"CellAtAndBelowTheLetter", {"14", "13", "20", "1"}, &kInvariant, "14", "0", "-1", 1},
        LoadRow{"BannerOne", {"12", "20", "20", "1"}, &kInvariant, "12", "9", "2", 1},
        LoadRow{"BannerLeadingZero", {"12", "20", "20", "01"}, &kInvariant, "12", "9", "2", 1},
        LoadRow{"BannerZero", {"12", "20", "20", "0"}, &kInvariant, "12", "9", "2", 0},
        LoadRow{"BannerTwo", {"12", "20", "20", "2"}, &kInvariant, "12", "9", "2", 0},
        LoadRow{"BannerNotANumberShowsYes", {"12", "20", "20", "yes"}, &kInvariant, "12", "9", "2", 1},
        LoadRow{"SizeNotOfferedShowsTen", {"18", "13", "18", none}, &kInvariant, "10", "4", "3", 1},
        LoadRow{"UnusableSizesShowTheDefaults", {none, "wide", "", "1"}, &kInvariant, "10", "4", "3", 1},
        LoadRow{"DecimalCommaFormat", {"10", "13,5", "18", "0"}, &kCzech, "10", "4,5", "3", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form2Choice, ClicksChangeTheChoiceWhichIsStoredOnlyByOk)
{
    Dialog dialog({"10", "13", "18", "1"});
    Form2& form = dialog.open();
    form.Label6_Click();
    EXPECT_EQ(form.bannerChoice, 0);
    form.Label5_Click();
    form.Label5_Click(); // the chosen label again changes nothing
    EXPECT_EQ(form.bannerChoice, 1);
    EXPECT_EQ(dialog.view.choicesShown, (std::vector<int>{1, 0, 1, 1}));
    EXPECT_EQ(dialog.store.writes, 0) << "a choice is not stored before OK";

    form.Label6_Click();
    form.Command1_Click();
    EXPECT_EQ(dialog.store.value(keys::kSystem), "0");
}

// --- OK -----------------------------------------------------------------------

struct AcceptedRow {
    const char* name;
    const RegionalFormat* format;
    std::string size, columnGap, rowGap;
    Stored stored;
    std::string reopenedColumnGap, reopenedRowGap;
};

class Form2Ok : public ::testing::TestWithParam<AcceptedRow> {};

// The letter at the chosen size plus each gap, in one write; the dialog then
// reopens with the gaps as typed.
TEST_P(Form2Ok, StoresTheFourValuesInOneWriteAndEnds)
{
    const AcceptedRow& row = GetParam();
    Dialog dialog({}, *row.format);
    Form2& form = dialog.open();
    dialog.view.type(row.size, row.columnGap, row.rowGap);
    form.Command1_Click();

    EXPECT_TRUE(dialog.platform.messages.empty());
    EXPECT_EQ(dialog.platform.exitStatus, 0);
    EXPECT_EQ(dialog.store.writes, 1);
    EXPECT_EQ(dialog.stored(), row.stored);

    dialog.open();
    EXPECT_EQ(dialog.view.selected, row.size);
    EXPECT_EQ(dialog.view.columnText, row.reopenedColumnGap);
    EXPECT_EQ(dialog.view.rowText, row.reopenedRowGap);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form2Ok,
    ::testing::Values(
        AcceptedRow{"GapsThreeAndOne", &kInvariant, "12", "3", "1", {"12", "14", "19", "1"}, "3", "1"},
        AcceptedRow{"NoGapsStoreTheLetterItself", &kInvariant, "17", "0", "0", {"17", "16", "26", "1"}, "0", "0"},
        AcceptedRow{"DefaultsAsShown", &kInvariant, "10", "4", "3", {"10", "13", "18", "1"}, "4", "3"},
        AcceptedRow{"DecimalCommaFormat", &kCzech, "8", "2,0", "-1", {"8", "10", "11", "1"}, "2", "-1"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Refusals -----------------------------------------------------------------

struct RefusalRow {
    const char* name;
    std::string size, columnGap, rowGap;
    bool readOnlyStore;
    const char* message;
    MessageStyle style;
};

class Form2Refusal : public ::testing::TestWithParam<RefusalRow> {};

// The store keeps what it held, the fields what the user typed, and the
// dialog stays open; correcting them then stores sizes measured afresh at the
// size chosen since.
TEST_P(Form2Refusal, ShowsWhyAndChangesNothingUntilCorrected)
{
    const RefusalRow& row = GetParam();
    const Stored before{"10", "13", "18", "1"};
    Dialog dialog(before);
    Form2& form = dialog.open();
    form.Label6_Click();
    dialog.view.type(row.size, row.columnGap, row.rowGap);
    dialog.store.failWrites = row.readOnlyStore;
    form.Command1_Click();

    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_EQ(dialog.platform.messages[0].text, row.message);
    EXPECT_EQ(dialog.platform.messages[0].style, row.style);
    EXPECT_FALSE(dialog.platform.ended());
    EXPECT_EQ(dialog.store.writes, 0);
    EXPECT_EQ(dialog.stored(), before);
    EXPECT_EQ(dialog.view.gapsShown, 1) << "the fields keep what the user typed";
    EXPECT_EQ(form.bannerChoice, 0);

    dialog.store.failWrites = false;
    dialog.view.type("24", "2", "4");
    form.Command1_Click();
    EXPECT_EQ(dialog.platform.exitStatus, 0);
    EXPECT_EQ(dialog.stored(), (Stored{"24", "24", "40", "0"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form2Refusal,
    ::testing::Values(RefusalRow{"NoSizeChosen", "", "1", "1", false, kFillEverything, MessageStyle::Critical},
                      RefusalRow{"EmptyColumnGap", "10", "", "1", false, kFillEverything, MessageStyle::Critical},
                      RefusalRow{"EmptyRowGap", "10", "1", "", false, kFillEverything, MessageStyle::Critical},
                      RefusalRow{"EmptyFieldOnAReadOnlyStore", "10", "", "1", true, kFillEverything, MessageStyle::Critical},
                      RefusalRow{"LettersAsColumnGap", "10", "abc", "1", false, kWholeNumbersOnly, MessageStyle::Plain},
                      RefusalRow{"FractionalGap", "10", "1", "1.5", false, kWholeNumbersOnly, MessageStyle::Plain},
                      RefusalRow{"SpacesAreNotEmpty", "10", "  ", "1", false, kWholeNumbersOnly, MessageStyle::Plain},
                      RefusalRow{"GapOutOfRange", "10", "40000", "1", false, kWholeNumbersOnly, MessageStyle::Plain},
                      RefusalRow{"CellBelowOnePixel", "10", "-50", "2", false, kWholeNumbersOnly, MessageStyle::Plain},
                      RefusalRow{"ReadOnlyStore", "24", "5", "2", true, kWholeNumbersOnly, MessageStyle::Plain}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Leaving ------------------------------------------------------------------

TEST(Form2Leaving, CancelAndClosingEndWithoutWriting)
{
    for (void (Form2::*leave)() : {&Form2::Command2_Click, &Form2::Form_Unload}) {
        Dialog dialog({"12", "16", "21", "0"});
        Form2& form = dialog.open();
        dialog.view.type("24", "7", "1");
        form.Label5_Click();
        (form.*leave)();
        EXPECT_EQ(dialog.platform.exitStatus, 0);
        EXPECT_TRUE(dialog.platform.messages.empty());
        EXPECT_EQ(dialog.store.writes, 0);
        EXPECT_EQ(dialog.stored(), (Stored{"12", "16", "21", "0"}));
    }
}

} // namespace
} // namespace korval
