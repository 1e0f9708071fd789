#include "core/support/MemoryStore.h"

#include "core/settings/SettingKeys.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korval {
namespace {

using testing::MemoryStore;
namespace keys = settings;

TEST(SettingsStore, GetSettingGivesTheDefaultAsDecimalTextOrNothing)
{
    MemoryStore store;
    store.put(keys::kWidth, "16");
    EXPECT_EQ(store.GetSetting(keys::kApplication, keys::kSection, "WIDTH", 13), "16");
    EXPECT_EQ(store.GetSetting(keys::kApplication, keys::kSection, "HEIGHT", 18), "18");
    EXPECT_EQ(store.GetSetting(keys::kApplication, keys::kSection, "HEIGHT", -7), "-7");
    EXPECT_EQ(store.GetSetting(keys::kApplication, keys::kSection, "HEIGHT"), "");
    EXPECT_EQ(store.GetSetting(keys::kApplication, "OTHER", "WIDTH"), "") << "sections are apart";
    EXPECT_EQ(store.GetSetting("OTHER", keys::kSection, "WIDTH", 1), "1") << "applications are apart";
}

struct ReadRow {
    const char* name;
    std::optional<std::string> stored;
    std::optional<std::string> runOnly;
    std::string asStored;   // stored()
    std::string asTheSaver; // storedOrSaverDefault()
};

class SettingsStoreReads : public ::testing::TestWithParam<ReadRow> {};

// A value for this run takes the stored one's place for the saver only; the
// dialog still sees what is stored.
TEST_P(SettingsStoreReads, RunOnlyValuesInPlaceOfStoredOnes)
{
    const ReadRow& row = GetParam();
    MemoryStore store;
    if (row.stored)
        store.put(keys::kWidth, *row.stored);
    if (row.runOnly)
        store.setRunOnly({{"HEIGHT", "99"}, {"WIDTH", *row.runOnly}});
    EXPECT_EQ(store.stored(keys::kWidth), row.asStored);
    EXPECT_EQ(store.storedOrSaverDefault(keys::kWidth), row.asTheSaver);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SettingsStoreReads,
    ::testing::Values(ReadRow{"nothing", std::nullopt, std::nullopt, "", "13"},
                      ReadRow{"storedOnly", "16", std::nullopt, "16", "16"},
                      ReadRow{"storedEmpty", "", std::nullopt, "", ""},
                      ReadRow{"runOnlyOverStored", "16", "20", "16", "20"},
                      ReadRow{"runOnlyWithNothingStored", std::nullopt, "20", "", "20"},
                      ReadRow{"runOnlyKeptAsText", "16", " x ", "16", " x "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsStore, SavesGoThroughOneWriteAndNeverWriteRunOnlyValues)
{
    MemoryStore store;
    store.setRunOnly({{"WIDTH", "20"}});
    store.SaveSetting(keys::kApplication, keys::kSection, "SYSTEM", "0");
    EXPECT_EQ(store.writes, 1);
    store.SaveSettings(keys::kApplication, keys::kSection,
                       {{"TEXTSIZE", "12"}, {"WIDTH", "16"}, {"HEIGHT", "21"}, {"SYSTEM", "1"}});
    EXPECT_EQ(store.writes, 2) << "four values, one write";
    EXPECT_EQ(store.value(keys::kWidth), "16") << "the run-only value was not written";
    EXPECT_EQ(store.storedOrSaverDefault(keys::kWidth), "20") << "and still reads for this run";
    EXPECT_EQ(store.value(keys::kSystem), "1");
}

} // namespace
} // namespace korval
