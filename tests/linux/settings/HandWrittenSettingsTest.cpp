// A settings file as a user edits it by hand: decimal commas without quotes,
// comments, other sections, their own spacing and line ends. Values read as
// the text that stands in the file, and a save changes the lines of the keys
// it writes and no other byte.

#include "support/SettingsFiles.h"
#include "support/TempStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace korval {
namespace {

using testing::TempStore;
using testing::writeBytes;
namespace keys = settings;
using namespace Qt::StringLiterals;

struct ReadRow {
    const char* name;
    QByteArray file;
    QString width; // what WIDTH reads as
};

class HandWrittenValue : public ::testing::TestWithParam<ReadRow> {};

TEST_P(HandWrittenValue, ReadsAsTheTextInTheFile)
{
    TempStore temp;
    ASSERT_TRUE(writeBytes(temp.filePath(), GetParam().file));
    EXPECT_EQ(temp.get(keys::kWidth), GetParam().width);
    EXPECT_TRUE(temp.fileBytes() == GetParam().file) << "reading changed the file";
}

INSTANTIATE_TEST_SUITE_P(
    Table, HandWrittenValue,
    ::testing::Values(
        ReadRow{"decimalComma", "[OPTION]\nWIDTH=13,5\n", u"13,5"_s},
        ReadRow{"spacesInsideKeptAndEndsTrimmed", "[OPTION]\nWIDTH=  13 ,\t5  \n", u"13 ,\t5"_s},
        ReadRow{"keyWithSpacesAround", "[OPTION]\nWIDTH = 13,5\n", u"13,5"_s},
        ReadRow{"windowsLineEnds", "[OPTION]\r\nWIDTH=13,5\r\nHEIGHT=18\r\n", u"13,5"_s},
        ReadRow{"commentAfterTheValue", "[OPTION]\nWIDTH=13,5 ; was 13\n", u"13,5"_s},
        ReadRow{"noFinalLineEnd", "[OPTION]\nWIDTH=13,5", u"13,5"_s},
        ReadRow{"severalCommas", "[OPTION]\nWIDTH=1,234,5\n", u"1,234,5"_s},
        ReadRow{"emptyElements", "[OPTION]\nWIDTH=,13,\n", u",13,"_s},
        ReadRow{"quotedElement", "[OPTION]\nWIDTH=\"13 \" , 5\n", u"13  , 5"_s},
        ReadRow{"continuedOnTheNextLine", "[OPTION]\nWIDTH=13,\\\n5\n", u"13,5"_s},
        ReadRow{"quotedCommaIsNoSeparator", "[OPTION]\nWIDTH=\"1,2\" , 5\n", u"1,2 , 5"_s},
        // The line QSettings reads is the last of the key in its section.
        ReadRow{"keyTwiceInTheSection", "[OPTION]\nWIDTH=1,5\nWIDTH=13,5\n", u"13,5"_s},
        ReadRow{"sectionTwice", "[OPTION]\nWIDTH=1,5\n[MINE]\nX=1\n[OPTION]\nWIDTH=13,5\n", u"13,5"_s},
        ReadRow{"sameKeyInAnotherSection", "[OPTION]\nWIDTH=13,5\n[MINE]\nWIDTH=1 , 5\n", u"13,5"_s},
        ReadRow{"afterAByteOrderMark", "\xef\xbb\xbf[OPTION]\nWIDTH=13,5\n", u"13,5"_s},
        // What the program writes itself is quoted, and was never a list.
        ReadRow{"quotedWhole", "[OPTION]\nWIDTH=\"13,5\"\n", u"13,5"_s}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HandWrittenSettings, DecimalCommaTextSizeReadsAsWritten)
{
    TempStore temp;
    ASSERT_TRUE(writeBytes(temp.filePath(), "[OPTION]\nTEXTSIZE=8,5\nWIDTH=13,5\n"));
    EXPECT_EQ(temp.get(keys::kTextSize), u"8,5"_s);
}

struct SaveRow {
    const char* name;
    QByteArray before;
    SettingEntries entries; // saved to [OPTION]
    QByteArray after;
};

class HandWrittenFile : public ::testing::TestWithParam<SaveRow> {};

TEST_P(HandWrittenFile, KeepsEveryByteButTheLinesOfTheKeysSaved)
{
    const SaveRow& row = GetParam();
    TempStore temp;
    ASSERT_TRUE(writeBytes(temp.filePath(), row.before));
    temp.store.SaveSettings(keys::kApplication, keys::kSection, row.entries);
    EXPECT_EQ(temp.fileBytes(), row.after);
    for (const auto& [key, value] : row.entries)
        EXPECT_EQ(temp.store.GetSetting(keys::kApplication, keys::kSection, key), value) << key;
    EXPECT_FALSE(QFileInfo::exists(temp.filePath() + u".kept"_s)) << "the lines could have been kept in place";
    EXPECT_FALSE(QFileInfo::exists(temp.filePath() + u".damaged"_s));
}

const SettingEntries kWidth16{{"WIDTH", "16"}};
const SettingEntries kWidthAndHeight{{"WIDTH", "16"}, {"HEIGHT", "20"}};
const SettingEntries kAllFour{{"TEXTSIZE", "12"}, {"WIDTH", "16"}, {"HEIGHT", "20"}, {"SYSTEM", "0"}};

INSTANTIATE_TEST_SUITE_P(
    Table, HandWrittenFile,
    ::testing::Values(
        SaveRow{"commentsBlankLinesAndOtherSections",
                "; edited by hand\n[OPTION]\n# old value: WIDTH=13\nWIDTH=13,5\n\nTEXTSIZE=10\n[MINE]\nNOTES=by hand\n",
                kWidth16,
                "; edited by hand\n[OPTION]\n# old value: WIDTH=13\nWIDTH=16\n\nTEXTSIZE=10\n[MINE]\nNOTES=by hand\n"},
        SaveRow{"keyOrderAndOtherKeys", "[OPTION]\nSYSTEM=1\nMINE=x\nWIDTH=13\nTEXTSIZE=10\n", kWidth16,
                "[OPTION]\nSYSTEM=1\nMINE=x\nWIDTH=16\nTEXTSIZE=10\n"},
        SaveRow{"spacingAroundKeysAndIndentation", "[ OPTION ]\nWIDTH = 13\n  HEIGHT\t=18\n", kWidthAndHeight,
                "[ OPTION ]\nWIDTH=16\n  HEIGHT=20\n"},
        SaveRow{"commentAfterTheValue", "[OPTION]\nWIDTH=13 ; was 12\n", kWidth16, "[OPTION]\nWIDTH=16 ; was 12\n"},
        SaveRow{"continuedLine", "[OPTION]\nWIDTH=1\\\n3\nHEIGHT=18\n", kWidth16, "[OPTION]\nWIDTH=16\nHEIGHT=18\n"},
        SaveRow{"keyTwice", "[OPTION]\nWIDTH=12\nX=1\nWIDTH=13\n", kWidth16, "[OPTION]\nWIDTH=16\nX=1\nWIDTH=16\n"},
        SaveRow{"sectionTwiceGetsMissingKeysInTheLast", "[OPTION]\nWIDTH=13\n[MINE]\nX=1\n[OPTION]\nSYSTEM=1\n[END]\n",
                kWidthAndHeight, "[OPTION]\nWIDTH=16\n[MINE]\nX=1\n[OPTION]\nSYSTEM=1\nHEIGHT=20\n[END]\n"},
        SaveRow{"missingKeysAfterTheSectionsLastLine", "[OPTION]\nWIDTH=13 ; mine\n\n[MINE]\nX=1\n", kWidthAndHeight,
                "[OPTION]\nWIDTH=16 ; mine\nHEIGHT=20\n\n[MINE]\nX=1\n"},
        SaveRow{"sectionMissing", "; nothing yet\n[MINE]\nX=1\n", kWidth16, "; nothing yet\n[MINE]\nX=1\n\n[OPTION]\nWIDTH=16\n"},
        SaveRow{"sectionMissingAndNoFinalLineEnd", "[MINE]\nX=1", kWidth16, "[MINE]\nX=1\n\n[OPTION]\nWIDTH=16\n"},
        SaveRow{"noFinalLineEnd", "[OPTION]\nWIDTH=13", kWidthAndHeight, "[OPTION]\nWIDTH=16\nHEIGHT=20"},
        SaveRow{"windowsLineEnds", "[MINE]\r\nX=1\r\n[OPTION]\r\nWIDTH=13\r\n", kAllFour,
                "[MINE]\r\nX=1\r\n[OPTION]\r\nWIDTH=16\r\nHEIGHT=20\r\nSYSTEM=0\r\nTEXTSIZE=12\r\n"},
        SaveRow{"byteOrderMark", "\xef\xbb\xbf[OPTION]\nWIDTH=13\n", kWidth16, "\xef\xbb\xbf[OPTION]\nWIDTH=16\n"},
        SaveRow{"emptyFile", "", kWidth16, "[OPTION]\nWIDTH=16\n"},
        SaveRow{"sameKeyElsewhereUntouched", "[MINE]\nWIDTH=1\n[OPTION]\nwidth=2\n", kWidth16,
                "[MINE]\nWIDTH=1\n[OPTION]\nwidth=2\nWIDTH=16\n"},
        SaveRow{"valuesQuotedAsQSettingsWritesThem", "[OPTION]\nWIDTH=13\n# keep\n",
                SettingEntries{{"WIDTH", "13,5"}, {"HEIGHT", " 18"}},
                "[OPTION]\nWIDTH=\"13,5\"\nHEIGHT=\" 18\"\n# keep\n"}),
    [](const auto& info) { return std::string(info.param.name); });

// Files whose last line would swallow the lines added after it (a quote left
// open, a line end escaped at the end of the file): QSettings writes the file
// whole, and the file as it was is kept beside it.
TEST(HandWrittenSettings, AFileTheLinesCannotGoIntoIsKeptBesideIt)
{
    for (const QByteArray& before : {QByteArray("[MINE]\n; by hand\nX=\"open"), QByteArray("[OPTION]\nX=1\\")}) {
        TempStore temp;
        ASSERT_TRUE(writeBytes(temp.filePath(), before));
        temp.store.SaveSettings(keys::kApplication, keys::kSection, kWidthAndHeight);
        EXPECT_EQ(temp.get(keys::kWidth), u"16"_s) << before.constData();
        EXPECT_EQ(temp.get(keys::kHeight), u"20"_s) << before.constData();
        QFile kept(temp.filePath() + u".kept"_s);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << before.constData();
        EXPECT_EQ(kept.readAll(), before);
    }
}

// A settings file kept elsewhere by a dotfile manager: its own file changes
// in place and the link stays.
TEST(HandWrittenSettings, ALinkedFileKeepsItsLinesAndTheLink)
{
    TempStore temp;
    const QString real = temp.folder.path() + u"/dotfiles/korval.ini"_s;
    ASSERT_TRUE(writeBytes(real, "; mine\n[OPTION]\nWIDTH=13\n"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(temp.filePath()).absolutePath()));
    ASSERT_TRUE(QFile::link(real, temp.filePath()));
    temp.set(keys::kWidth, u"16"_s);
    EXPECT_TRUE(QFileInfo(temp.filePath()).isSymLink());
    QFile file(real);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("; mine\n[OPTION]\nWIDTH=16\n"));
}

// The bits QFileInfo reckons for the process's own user, who may be root.
constexpr QFileDevice::Permissions kCurrentUser = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;

TEST(HandWrittenSettings, ASaveKeepsTheFilesPermissions)
{
    using P = QFileDevice::Permission;
    const QFileDevice::Permissions modes[] = {P::ReadOwner | P::WriteOwner | P::ReadGroup | P::ReadOther,
                                              P::ReadOwner | P::WriteOwner | P::ReadGroup,
                                              P::ReadOwner | P::WriteOwner | P::ReadGroup | P::WriteGroup};
    for (const QFileDevice::Permissions mode : modes) {
        for (const QByteArray& before : {QByteArray("[OPTION]\nWIDTH=13\n"), QByteArray("[OPTION\ndamaged\n")}) {
            TempStore temp;
            ASSERT_TRUE(writeBytes(temp.filePath(), before));
            ASSERT_TRUE(QFile::setPermissions(temp.filePath(), mode));
            temp.set(keys::kWidth, u"16"_s);
            EXPECT_EQ(temp.get(keys::kWidth), u"16"_s);
            EXPECT_EQ(QFileInfo(temp.filePath()).permissions() & ~kCurrentUser, mode)
                << std::hex << mode.toInt() << " " << before.constData();
        }
    }
}

} // namespace
} // namespace korval
