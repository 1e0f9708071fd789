// The options dialog opened over something that is no usable settings file:
// it shows the saver's defaults, as when nothing is stored, and leaves the
// thing where the file goes as it was.

#include "support/FakePlatform.h"
#include "support/SettingsFiles.h"
#include "support/TempStore.h"

#include "options/LetterFont.h"
#include "options/OptionsForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;
using testing::binaryGarbage;
using testing::deeplyNestedVariant;
using testing::variantSpellings;
using testing::writeBytes;

struct HostileFileRow {
    const char* name;
    std::function<void(const QString& path)> make; // puts something where the settings file goes
};

class HostileFileLoading : public ::testing::TestWithParam<HostileFileRow> {};

TEST_P(HostileFileLoading, ShowsTheDefaultsAndLeavesTheFileAlone)
{
    FakePlatform platform;
    TempStore temp;
    GetParam().make(temp.filePath());
    const QByteArray before = temp.fileBytes();

    OptionsForm form(platform, temp.store);
    form.Form_Load();
    form.show();

    const LetterSize letter = naturalLetterSize(10);
    EXPECT_EQ(form.Combo1.currentText(), QStringLiteral("10"));
    EXPECT_EQ(form.Text1.text(), QString::number(13 - letter.width));
    EXPECT_EQ(form.Text2.text(), QString::number(18 - letter.height));
    EXPECT_EQ(form.bannerChoice, 1);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(platform.ended());
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
