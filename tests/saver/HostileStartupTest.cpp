// Hostile stored settings where the saver reads them, at start-up. Every
// case ends either in a grid built from the values as the user's regional
// format reads them (or from the defaults, when nothing usable is stored),
// or in the one message box of the run-time error and the end of the
// program. None of them crashes, and none of them changes the settings file.

#include "support/LocaleScope.h"
#include "support/SettingsFiles.h"
#include "support/FakePlatform.h"
#include "support/TempStore.h"

#include "saver/Form1.h"

#include "platform/HandlerGuard.h"
#include "platform/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;
namespace keys = settings;
using namespace Qt::StringLiterals;

using testing::LocaleScope;
using testing::binaryGarbage;
using testing::deeplyNestedVariant;
using testing::variantSpellings;
using testing::writeBytes;

// What start-up ends in: the template cell as the settings made it, or the
// number of the run-time error that stopped it.
struct Outcome {
    float fontSize = 10;
    float width = 13;
    float height = 18;
    int error = 0;
};

Outcome fails(int error) { return {0, 0, 0, error}; }
Outcome cell(float width, float height = 18, float fontSize = 10) { return {fontSize, width, height, 0}; }

struct HostileValueRow {
    const char* name;
    const char* locale;
    const settings::SettingKey* key;
    QString value;
    Outcome outcome;
};

// Starts a saver on a 1024 x 768 screen the way the program does: inside the
// handler guard, so that an error ends in the platform's message box.
struct GuardedStart {
    explicit GuardedStart(TempStore& temp) : form(std::make_unique<Form1>(platform, temp.store))
    {
        form->Timer1.setEnabled(false);
        runGuarded(platform, [this] { form->StartSaver(); });
    }

    FakePlatform platform{1024, 768};
    std::unique_ptr<Form1> form;
};

void expectOutcome(const GuardedStart& start, const Outcome& outcome)
{
    if (outcome.error != 0) {
        ASSERT_EQ(start.platform.messages.size(), 1u) << "one message box, then the end";
        const QString expected = RuntimeError(outcome.error, QString()).message();
        EXPECT_TRUE(start.platform.messages[0].text.startsWith(expected.trimmed()))
            << qPrintable(start.platform.messages[0].text);
        EXPECT_EQ(start.platform.messages[0].style, MB_CRITICAL);
        EXPECT_EQ(start.platform.exitStatus, 1);
        return;
    }
    EXPECT_TRUE(start.platform.messages.empty()) << qPrintable(start.platform.messages[0].text);
    EXPECT_FALSE(start.platform.ended());
    const Cell& cell = start.form->M1[0];
    EXPECT_FLOAT_EQ(cell.fontSize, outcome.fontSize);
    EXPECT_FLOAT_EQ(cell.width, outcome.width);
    EXPECT_FLOAT_EQ(cell.height, outcome.height);
    EXPECT_GT(start.form->M1.count(), 1);
}

class HostileValue : public ::testing::TestWithParam<HostileValueRow> {};

TEST_P(HostileValue, BuildsTheGridOrEndsWithTheRunTimeError)
{
    const HostileValueRow& row = GetParam();
    LocaleScope locale(row.locale);
    TempStore temp;
    temp.set(*row.key, row.value);
    const QByteArray before = temp.fileBytes();

    const GuardedStart start(temp);

    expectOutcome(start, row.outcome);
    EXPECT_TRUE(temp.fileBytes() == before) << "start-up changed the settings file";
}

const auto W = &keys::kWidth;
const auto H = &keys::kHeight;
const auto T = &keys::kTextSize;

INSTANTIATE_TEST_SUITE_P(
    Table, HostileValue,
    ::testing::Values(
        // Out of the single-precision range, or not a number a user can type.
        HostileValueRow{"hugeWidth", "en_US", W, u"1e39"_s, fails(RuntimeError::Overflow)},
        HostileValueRow{"hugeNegativeHeight", "en_US", H, u"-1e39"_s, fails(RuntimeError::Overflow)},
        HostileValueRow{"beyondDouble", "en_US", W, u"1e309"_s, fails(RuntimeError::Overflow)},
        HostileValueRow{"hugeTextSize", "de_DE", T, u"1e39"_s, fails(RuntimeError::Overflow)},
        HostileValueRow{"nanWidth", "en_US", W, u"nan"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"infHeight", "en_US", H, u"inf"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"infTextSize", "de_DE", T, u"-inf"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"negativeZeroHeight", "en_US", H, u"-0"_s, fails(RuntimeError::DivisionByZero)},
        HostileValueRow{"negativeZeroWidth", "de_DE", W, u"-0"_s, fails(RuntimeError::DivisionByZero)},
        HostileValueRow{"negativeZeroTextSize", "en_US", T, u"-0"_s, fails(RuntimeError::InvalidPropertyValue)},
        // The decimal separator of the user's format, and the other one.
        HostileValueRow{"pointUnderPoint", "en_US", W, u"1.5"_s, cell(1.5f)},
        HostileValueRow{"commaUnderComma", "de_DE", W, u"1,5"_s, cell(1.5f)},
        HostileValueRow{"commaUnderPoint", "en_US", H, u"1,5"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"pointUnderComma", "de_DE", H, u"1.5"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"commaTextSizeUnderComma", "cs_CZ", T, u"10,5"_s, cell(13, 18, 10.5f)},
        // Digits from other scripts count only in a format that uses them.
        HostileValueRow{"arabicIndicDigitsUnderArabic", "ar_EG", W, u"\u0661\u0666"_s, cell(16)},
        HostileValueRow{"arabicIndicDigitsUnderPoint", "en_US", W, u"\u0661\u0666"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"devanagariDigits", "en_US", H, u"\u0968\u0966"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"fullwidthDigits", "en_US", W, u"\uff11\uff16"_s, fails(RuntimeError::TypeMismatch)},
        // Spaces and line ends around a number are not part of it.
        HostileValueRow{"spacesAround", "en_US", W, u"  16  "_s, cell(16)},
        HostileValueRow{"tabAndNewline", "de_DE", H, u"\t20,5\n"_s, cell(13, 20.5f)},
        HostileValueRow{"spaceInside", "en_US", W, u"1 6"_s, fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"onlySpaces", "en_US", H, u"   "_s, fails(RuntimeError::TypeMismatch)},
        // A megabyte of text is read whole and refused like any other.
        HostileValueRow{"megabyteOfDigits", "en_US", W, QString(1 << 20, u'7'), fails(RuntimeError::Overflow)},
        HostileValueRow{"megabyteOfLetters", "en_US", T, QString(1 << 20, u'x'), fails(RuntimeError::TypeMismatch)},
        HostileValueRow{"megabyteOfZeros", "en_US", W, QString(1 << 20, u'0') + u"16"_s, cell(16)}),
    [](const auto& info) { return std::string(info.param.name); });

// The banner setting is kept as text and never converted at start-up, so no
// text in it can stop the saver.
TEST(HostileStartup, AnyBannerTextStartsTheSaver)
{
    for (const QString& text : {u"nan"_s, u"1e39"_s, u"\u0661"_s, QString(1 << 20, u'1'), u" 1 "_s}) {
        TempStore temp;
        temp.set(keys::kSystem, text);
        const GuardedStart start(temp);
        EXPECT_TRUE(start.platform.messages.empty());
        EXPECT_EQ(start.form->state.bannerFlag, text);
    }
}

// A user of a decimal-comma format writes fractions by hand without quotes,
// as the program's own format shows them; the INI parser would split them
// into lists at the comma.
TEST(HostileStartup, HandWrittenDecimalCommasBuildTheGrid)
{
    LocaleScope locale("cs_CZ");
    TempStore temp;
    writeBytes(temp.filePath(), "[OPTION]\nTEXTSIZE=8,5\nWIDTH=13,5\nHEIGHT=18,25\n");
    const GuardedStart start(temp);
    expectOutcome(start, cell(13.5f, 18.25f, 8.5f));
}

struct HostileFileRow {
    const char* name;
    std::function<void(const QString& path)> make; // puts something where the settings file goes
    Outcome outcome;
};

class HostileFile : public ::testing::TestWithParam<HostileFileRow> {};

TEST_P(HostileFile, StartsWithWhatCanBeReadAndLeavesTheFileAlone)
{
    TempStore temp;
    GetParam().make(temp.filePath());
    const QByteArray before = temp.fileBytes();

    const GuardedStart start(temp);

    expectOutcome(start, GetParam().outcome);
    EXPECT_TRUE(temp.fileBytes() == before);
    QFile::setPermissions(QFileInfo(temp.filePath()).absolutePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HostileFile,
    ::testing::Values(
        HostileFileRow{"binaryGarbage", [](const QString& path) { writeBytes(path, binaryGarbage(4096)); }, cell(13)},
        HostileFileRow{"tenMegabytesOfGarbage", [](const QString& path) { writeBytes(path, binaryGarbage(10 << 20)); },
                       cell(13)},
        HostileFileRow{"tenMegabytesBeforeTheKeys",
                       [](const QString& path) {
                           writeBytes(path, "[PAD]\nX=" + QByteArray(10 << 20, 'x') + "\n[OPTION]\nWIDTH=16\nHEIGHT=20\n");
                       },
                       cell(16, 20)},
        HostileFileRow{"garbageAfterTheKeys",
                       [](const QString& path) { writeBytes(path, "[OPTION]\nWIDTH=16\n" + binaryGarbage(1024)); },
                       cell(16)},
        // Values that a binary decoder would take for serialised ones are text,
        // and not numbers; a comment mentioning one is a comment.
        HostileFileRow{"escapedSerialisedValue",
                       [](const QString& path) { writeBytes(path, "[OPTION]\nWIDTH=\\x40Variant(\\0\\0\\0\\x7f)\n"); },
                       fails(RuntimeError::TypeMismatch)},
        HostileFileRow{"serialisedValueSpellings", [](const QString& path) { writeBytes(path, variantSpellings()); },
                       fails(RuntimeError::TypeMismatch)},
        HostileFileRow{"deeplyNestedSerialisedValue", [](const QString& path) { writeBytes(path, deeplyNestedVariant()); },
                       fails(RuntimeError::TypeMismatch)},
        HostileFileRow{"commentMentioningASerialisedValue",
                       [](const QString& path) {
                           writeBytes(path, "; never write WIDTH=@Variant(...) here\n[OPTION]\nWIDTH=16\n");
                       },
                       cell(16)},
        HostileFileRow{"aFolder", [](const QString& path) { QDir().mkpath(path); }, cell(13)},
        HostileFileRow{"aDanglingLink",
                       [](const QString& path) {
                           QDir().mkpath(QFileInfo(path).absolutePath());
                           QFile::link(path + QStringLiteral(".gone"), path);
                       },
                       cell(13)},
        HostileFileRow{"aLinkToItself",
                       [](const QString& path) {
                           QDir().mkpath(QFileInfo(path).absolutePath());
                           QFile::link(path, path);
                       },
                       cell(13)},
        HostileFileRow{"aReadOnlyFolder",
                       [](const QString& path) {
                           writeBytes(path, "[OPTION]\nWIDTH=16\n");
                           QFile::setPermissions(QFileInfo(path).absolutePath(),
                                                 QFileDevice::ReadOwner | QFileDevice::ExeOwner);
                       },
                       cell(16)}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace korval
