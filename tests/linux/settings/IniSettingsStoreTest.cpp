#include "support/TempStore.h"

#include "platform/LocaleFormat.h"

#include "core/runtime/NumberConversions.h"
#include "core/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QLocale>

#include <gtest/gtest.h>

namespace korval {
namespace {

using testing::TempStore;
namespace keys = settings;

TEST(SettingsStore, MissingKeysGiveTheDefaultAsTextOrEmpty)
{
    TempStore temp;
    for (const auto& key : keys::kAllKeys) {
        EXPECT_EQ(QString::fromStdString(temp.store.GetSetting(keys::kApplication, keys::kSection, key.name, key.saverDefault)),
                  QString::number(key.saverDefault));
        EXPECT_EQ(QString::fromStdString(temp.store.GetSetting(keys::kApplication, keys::kSection, key.name)), QString());
    }
    EXPECT_FALSE(QFile::exists(temp.filePath())) << "reading must not create the file";
}

TEST(SettingsStore, SavedValuesReadBackAsTextInTheirFile)
{
    TempStore temp;
    temp.set(keys::kWidth, QStringLiteral("16"));
    temp.set(keys::kSystem, QStringLiteral("0"));
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16"));
    EXPECT_EQ(temp.get(keys::kSystem), QStringLiteral("0"));
    EXPECT_EQ(temp.get(keys::kHeight), QString());
    EXPECT_TRUE(temp.filePath().endsWith(QStringLiteral("/KORVAL/KORVAL.ini")));
    EXPECT_TRUE(temp.fileBytes().contains("[OPTION]"));
}

TEST(SettingsStore, ValuesForThisRunAreReadInPlaceOfStoredOnesAndNeverWritten)
{
    TempStore temp;
    temp.set(keys::kWidth, QStringLiteral("16"));
    temp.store.setRunOnly({{"WIDTH", "20"}, {"TEXTSIZE", "x"}});

    EXPECT_EQ(QString::fromStdString(temp.store.storedOrSaverDefault(keys::kWidth)), QStringLiteral("20"));
    EXPECT_EQ(QString::fromStdString(temp.store.storedOrSaverDefault(keys::kTextSize)), QStringLiteral("x")) << "checked where it is used";
    EXPECT_EQ(QString::fromStdString(temp.store.storedOrSaverDefault(keys::kHeight)), QStringLiteral("18"));
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16")) << "the dialog still sees what is stored";
    temp.set(keys::kSystem, QStringLiteral("0"));
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16"));
    EXPECT_EQ(temp.get(keys::kTextSize), QString());
    EXPECT_FALSE(temp.fileBytes().contains("20")) << "a value for this run never reaches the file";
}

TEST(SettingsStore, FractionalWidthRoundTripsUnderADecimalCommaLocale)
{
    const RegionalFormat czech = regionalFormatOf(QLocale(QStringLiteral("cs_CZ")));
    TempStore temp;
    temp.set(keys::kWidth, QString::fromStdString(singleToText(13.5f, czech)));
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("13,5"));
    EXPECT_FLOAT_EQ(toSingle(temp.get(keys::kWidth).toStdString(), czech), 13.5f);
}

TEST(SettingsStore, SeveralKeysReachTheFileInOneWriteAndOtherKeysSurvive)
{
    TempStore temp;
    temp.store.SaveSetting("KORVAL", "OTHER", "KEEP", "x");
    temp.store.SaveSettings(keys::kApplication, keys::kSection,
                            {{"TEXTSIZE", "12"}, {"WIDTH", "16"}, {"HEIGHT", "21"}, {"SYSTEM", "1"}});
    EXPECT_EQ(temp.get(keys::kTextSize), QStringLiteral("12"));
    EXPECT_EQ(temp.get(keys::kHeight), QStringLiteral("21"));
    EXPECT_EQ(temp.store.GetSetting("KORVAL", "OTHER", "KEEP"), "x");
    const QStringList leftovers = QDir(QFileInfo(temp.filePath()).absolutePath()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(leftovers, QStringList{QStringLiteral("KORVAL.ini")}) << "no staging file may stay behind";
}

// A write that cannot be done raises a run-time error and leaves the file
// byte for byte as it was.
class UnwritableStore : public ::testing::Test {
protected:
    void SetUp() override
    {
        temp.set(keys::kWidth, QStringLiteral("13"));
        before = temp.fileBytes();
    }
    void expectRefusedAndUnchanged()
    {
        try {
            temp.set(keys::kWidth, QStringLiteral("99"));
            ADD_FAILURE() << "the write was not refused";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), RuntimeError::PathFileAccessError);
        }
        EXPECT_EQ(temp.fileBytes(), before);
    }
    TempStore temp;
    QByteArray before;
};

TEST_F(UnwritableStore, ReadOnlyFile)
{
    QFile::setPermissions(temp.filePath(), QFileDevice::ReadOwner);
    expectRefusedAndUnchanged();
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("13"));
    QFile::setPermissions(temp.filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

TEST_F(UnwritableStore, ReadOnlyFolder)
{
    const QString folder = QFileInfo(temp.filePath()).absolutePath();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    expectRefusedAndUnchanged();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(SettingsStore, FolderThatIsAFileIsReportedNotCrashedOn)
{
    testing::TempStore temp;
    QFile blocker(temp.folder.path() + QStringLiteral("/KORVAL"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(temp.get(keys::kWidth), QString());
    EXPECT_THROW(temp.set(keys::kWidth, QStringLiteral("13")), RuntimeError);
}

TEST(SettingsStore, DamagedFileReadsAsMissingKeysAndIsReplacedOnlyBySave)
{
    TempStore temp;
    QDir().mkpath(QFileInfo(temp.filePath()).absolutePath());
    QFile file(temp.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray garbage("\x00\xff[OPTION\nWIDTH=\x01\x02\x00zz\n\xfe", 24);
    file.write(garbage);
    file.close();

    EXPECT_EQ(QString::fromStdString(temp.store.GetSetting(keys::kApplication, keys::kSection, keys::kWidth.name, 13)), QStringLiteral("13"));
    EXPECT_EQ(temp.fileBytes(), garbage) << "reading must not touch the file";

    temp.set(keys::kWidth, QStringLiteral("16"));
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16"));
}

TEST(SettingsStore, SymbolicLinkIsWrittenThroughAndKept)
{
    TempStore temp;
    const QString real = temp.folder.path() + QStringLiteral("/real.ini");
    QDir().mkpath(QFileInfo(temp.filePath()).absolutePath());
    ASSERT_TRUE(QFile::link(real, temp.filePath()));
    EXPECT_EQ(temp.get(keys::kWidth), QString()) << "a dangling link reads as missing keys";
    temp.set(keys::kWidth, QStringLiteral("15"));
    EXPECT_TRUE(QFileInfo(temp.filePath()).isSymLink());
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("15"));
}

} // namespace
} // namespace korval
