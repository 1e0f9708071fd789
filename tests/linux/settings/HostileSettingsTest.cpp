// The settings file as a hostile user, a broken disk or another program may
// leave it. Reading never fails and never changes the file; a write that
// cannot be done is refused with the file-access error and leaves every
// byte in place.

#include "support/TempStore.h"

#include "core/runtime/NumberConversions.h"
#include "core/runtime/RuntimeError.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>

namespace korval {
namespace {

using testing::TempStore;
namespace keys = settings;
using namespace Qt::StringLiterals;

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << qPrintable(path);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Bytes from a fixed seed: the same garbage in every run.
QByteArray garbage(qsizetype size)
{
    QRandomGenerator generator(1250);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = static_cast<char>(generator.bounded(256));
    return bytes;
}

// A valid file whose keys sit behind `filler` bytes of other sections.
QByteArray padded(qsizetype filler, const QByteArray& option)
{
    QByteArray bytes;
    bytes.reserve(filler + option.size() + 64);
    for (int section = 0; bytes.size() < filler; ++section)
        bytes += "[OTHER" + QByteArray::number(section) + "]\nKEY=" + QByteArray(1000, 'x') + "\n";
    return bytes + "[OPTION]\n" + option;
}

// A settings file whose value is a serialised Qt value claiming a length of
// gigabytes, as a fuzzer found it.
QByteArray forgedVariant()
{
    return QByteArray("[OPTION]\nWIDTH=\"13\"\nHEIGHT=@Variant(\\0\\0\\0\\IGHT=@Variant(\\0\\0\\0\\x20\\x52)\n");
}

struct DamagedFileRow {
    const char* name;
    std::function<QByteArray()> contents;
    QString width; // what GetSetting("WIDTH", default 13) gives
};

class DamagedFile : public ::testing::TestWithParam<DamagedFileRow> {};

TEST_P(DamagedFile, ReadsWithoutFailingAndWithoutTouchingTheFile)
{
    TempStore temp;
    const QByteArray before = GetParam().contents();
    writeBytes(temp.filePath(), before);

    EXPECT_EQ(temp.store.GetSetting(keys::kApplication, keys::kSection, keys::kWidth.name, keys::kWidth.saverDefault),
              GetParam().width);
    for (const auto& key : keys::kAllKeys)
        (void)temp.get(key);
    EXPECT_TRUE(temp.fileBytes() == before) << "reading changed the file";
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedFile,
    ::testing::Values(DamagedFileRow{"binaryGarbage", [] { return garbage(4096); }, u"13"_s},
                      DamagedFileRow{"binaryGarbageOf10MB", [] { return garbage(10 << 20); }, u"13"_s},
                      DamagedFileRow{"keysBehind10MB", [] { return padded(10 << 20, "WIDTH=16\n"); }, u"16"_s},
                      DamagedFileRow{"nulBytesInAValue", [] { return QByteArray("[OPTION]\nWIDTH=1\0" "6\n", 18); }, QString::fromUtf16(u"1\0" "6", 3)},
                      DamagedFileRow{"sectionNeverClosed", [] { return QByteArray("[OPTION\nWIDTH=16\n"); }, u"13"_s},
                      DamagedFileRow{"keyWithoutValue", [] { return QByteArray("[OPTION]\nWIDTH\n"); }, u"13"_s},
                      DamagedFileRow{"emptyValue", [] { return QByteArray("[OPTION]\nWIDTH=\n"); }, QString()},
                      DamagedFileRow{"unterminatedQuote", [] { return QByteArray("[OPTION]\nWIDTH=\"16\n"); }, u"16\n"_s},
                      DamagedFileRow{"invalidUtf8", [] { return QByteArray("[OPTION]\nWIDTH=\xff\xfe\n"); }, u"\ufffd\ufffd"_s},
                      DamagedFileRow{"emptyFile", [] { return QByteArray(); }, "13"},
                      // Binary values whose forged length would ask the parser for gigabytes.
                      DamagedFileRow{"serialisedValueOfForgedLength", [] { return forgedVariant(); }, u"13"_s},
                      DamagedFileRow{"serialisedValueInASection", [] {
                          return QByteArray("[OTHER]\nKEY=@DateTime(\\0\\0\\0\\x10)\n[OPTION]\nWIDTH=16\n"); }, u"13"_s},
                      // Tags that decode nothing binary leave the file readable.
                      DamagedFileRow{"tagWrittenByQtItself", [] {
                          return QByteArray("[OPTION]\nTEXTSI\\ZE=@Invalid()\nWIDTH=16\n"); }, u"16"_s},
                      DamagedFileRow{"textQtWroteThatMentionsATag", [] {
                          return QByteArray("[OPTION]\nNOTE=\"@String(a=@Variant(x)\"\nWIDTH=16\n"); }, u"16"_s},
                      DamagedFileRow{"serialisedElementOfAList", [] {
                          return QByteArray("[OPTION]\nWIDTH=16, @Variant(\\0\\0\\0\\x10)\n"); }, u"13"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostileSettings, AValueOfOneMegabyteRoundTripsWhole)
{
    TempStore temp;
    const QString huge(1 << 20, QLatin1Char('7'));
    temp.set(keys::kWidth, huge);
    temp.set(keys::kHeight, QStringLiteral("18"));
    EXPECT_EQ(temp.get(keys::kWidth), huge);
    EXPECT_EQ(temp.get(keys::kHeight), QStringLiteral("18"));
}

// Texts that a locale, a hand edit or another script may put into a value
// come back exactly as they were stored: converting them is the reader's
// business, not the store's.
TEST(HostileSettings, AwkwardTextsComeBackAsStored)
{
    const char* const texts[] = {" 12 ", "1,5", "1.5", "1, 5", "\"16\"", "-0", "nan", "inf", "1e39", "-1e39",
                                 "\u0661\u0663", "\u0967\u0969", "\uff11\uff13", "a=b", "[OPTION]", "x\ny", "#13",
                                 ";13", "@Invalid()", "\\13"};
    for (const char* text : texts) {
        TempStore temp; // a file of its own: Qt may not notice a rewrite of one of the same size within a millisecond
        const QString value = QString::fromUtf8(text);
        temp.set(keys::kWidth, value);
        EXPECT_EQ(temp.get(keys::kWidth), value) << text;
        temp.set(keys::kHeight, value); // a second save over what the first wrote
        EXPECT_FALSE(QFile::exists(temp.filePath() + QStringLiteral(".damaged")))
            << text << ": a file the store wrote itself was taken for damaged";
    }
}

// A save over a file that cannot be parsed keeps the old bytes beside it:
// nothing the user had in it is lost to the new values, and a second save
// keeps a second copy rather than replacing the first.
TEST(HostileSettings, SavingOverADamagedFileKeepsItsBytes)
{
    const QByteArray damaged[] = {garbage(4096), QByteArray("[OPTION\nWIDTH=16\n[MINE]\nNOTES=by hand\n"),
                                  forgedVariant(),
                                  // Latin-1 text: a byte the decoder replaces, and one it drops at the end.
                                  QByteArray("[MINE]\nname=caf\xe9 au lait\n[OPTION]\nWIDTH=13\n"),
                                  QByteArray("[OPTION]\nWIDTH=13\n[MINE]\nname=caf\xe9")};
    for (const QByteArray& before : damaged) {
        TempStore temp;
        writeBytes(temp.filePath(), before);
        temp.set(keys::kWidth, QStringLiteral("16"));
        EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16"));
        QFile kept(temp.filePath() + QStringLiteral(".damaged"));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << "the damaged file was not kept";
        EXPECT_TRUE(kept.readAll() == before);

        writeBytes(temp.filePath(), QByteArray("\0x", 2));
        temp.set(keys::kWidth, QStringLiteral("17"));
        EXPECT_TRUE(QFile::exists(temp.filePath() + QStringLiteral(".damaged-2")));
        ASSERT_TRUE(kept.seek(0));
        EXPECT_TRUE(kept.readAll() == before) << "the first copy was replaced";
    }
}

// A number the program writes in the user's format reads back as itself,
// negative ones in right-to-left formats included, whose minus sign comes
// with invisible direction marks.
TEST(HostileSettings, NumbersWrittenInAnyFormatReadBack)
{
    const QLocale previous;
    for (const char* name : {"en_US", "de_DE", "cs_CZ", "he_IL", "ar_EG", "fa_IR", "ps_AF"}) {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        for (const float value : {-9.0f, -1.5f, 0.0f, 13.5f, 1234.25f}) {
            TempStore temp;
            temp.set(keys::kWidth, singleToText(value));
            EXPECT_EQ(toSingle(temp.get(keys::kWidth)), value) << name << " " << value;
            EXPECT_EQ(toDouble(doubleToText(value)), value) << name << " " << value;
        }
    }
    QLocale::setDefault(previous);
}

// Where the settings file should be there is something that is not a file.
class BlockedSettingsPath : public ::testing::Test {
protected:
    void expectReadsDefaultsAndRefusesToWrite()
    {
        EXPECT_EQ(temp.store.GetSetting(keys::kApplication, keys::kSection, keys::kWidth.name, 13), QStringLiteral("13"));
        try {
            temp.set(keys::kWidth, QStringLiteral("16"));
            ADD_FAILURE() << "the write was not refused";
        } catch (const RuntimeError& error) {
            EXPECT_EQ(error.number(), RuntimeError::PathFileAccessError);
            EXPECT_TRUE(error.text().contains(QStringLiteral("KORVAL"))) << qPrintable(error.text());
        }
    }
    TempStore temp;
};

TEST_F(BlockedSettingsPath, AFolderWhereTheFileShouldBe)
{
    ASSERT_TRUE(QDir().mkpath(temp.filePath()));
    writeBytes(temp.filePath() + QStringLiteral("/inside.txt"), "keep me");
    expectReadsDefaultsAndRefusesToWrite();
    QFile inside(temp.filePath() + QStringLiteral("/inside.txt"));
    ASSERT_TRUE(inside.open(QIODevice::ReadOnly));
    EXPECT_EQ(inside.readAll(), QByteArray("keep me"));
}

TEST_F(BlockedSettingsPath, ALinkToAFolder)
{
    const QString folder = temp.folder.path() + QStringLiteral("/elsewhere");
    ASSERT_TRUE(QDir().mkpath(folder));
    QDir().mkpath(QFileInfo(temp.filePath()).absolutePath());
    ASSERT_TRUE(QFile::link(folder, temp.filePath()));
    expectReadsDefaultsAndRefusesToWrite();
    EXPECT_TRUE(QFileInfo(temp.filePath()).isSymLink());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

// A link that points at itself holds nothing; a save puts a real file there.
TEST(HostileSettings, ALinkToItselfReadsAsNothingStoredUntilASave)
{
    TempStore temp;
    QDir().mkpath(QFileInfo(temp.filePath()).absolutePath());
    ASSERT_TRUE(QFile::link(temp.filePath(), temp.filePath()));
    EXPECT_EQ(temp.get(keys::kWidth), QString());
    temp.set(keys::kWidth, QStringLiteral("16"));
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16"));
}

TEST(HostileSettings, ADanglingLinkIsWrittenThroughToItsTarget)
{
    TempStore temp;
    const QString target = temp.folder.path() + QStringLiteral("/dotfiles/korval.ini");
    QDir().mkpath(QFileInfo(temp.filePath()).absolutePath());
    ASSERT_TRUE(QFile::link(target, temp.filePath()));
    EXPECT_EQ(temp.get(keys::kWidth), QString());
    temp.set(keys::kWidth, QStringLiteral("16"));
    EXPECT_TRUE(QFileInfo(temp.filePath()).isSymLink());
    EXPECT_TRUE(QFileInfo(target).isFile());
    EXPECT_EQ(temp.get(keys::kWidth), QStringLiteral("16"));
}

// The owner's write bit counts even for root, who could write anyway: a
// folder its owner made read-only refuses the first save, and nothing is
// created in it.
TEST(HostileSettings, FolderWithoutWritePermissionRefusesTheFirstSave)
{
    TempStore temp;
    const QString folder = QFileInfo(temp.filePath()).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(temp.get(keys::kWidth), QString());
    EXPECT_THROW(temp.set(keys::kWidth, QStringLiteral("16")), RuntimeError);
    EXPECT_TRUE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

} // namespace
} // namespace korval
