// A settings file as a user edits it by hand: decimal commas without quotes,
// comments, other sections, their own spacing and line ends. Values read as
// the text that stands in the file.

#include "support/SettingsFiles.h"
#include "support/TempStore.h"

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

} // namespace
} // namespace korval
