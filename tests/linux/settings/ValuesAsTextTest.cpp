// Every value of the settings file is the text written there. Spellings that
// a binary decoder would take for a serialised value ("@Variant(" however it
// is escaped or quoted, with any line ends) read as text, leave the other
// values readable and survive a save of other keys byte for byte; comments
// are comments whatever they mention.

#include "support/SettingsFiles.h"
#include "support/TempStore.h"

#include "settings/IniText.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <string>

namespace korval {
namespace {

using testing::TempStore;
using testing::writeBytes;
namespace keys = settings;
using namespace std::string_literals;

QByteArray bytesOf(const std::string& text) { return QByteArray::fromStdString(text); }

struct TextRow {
    const char* name;
    std::string file;
    std::string width;      // what WIDTH reads as
    std::string afterSave;  // the file once HEIGHT=20 is saved
};

class ValueAsText : public ::testing::TestWithParam<TextRow> {};

TEST_P(ValueAsText, ReadsAsTextAndSurvivesASaveOfAnotherKey)
{
    const TextRow& row = GetParam();
    TempStore temp;
    ASSERT_TRUE(writeBytes(temp.filePath(), bytesOf(row.file)));
    EXPECT_EQ(temp.get(keys::kWidth), QString::fromStdString(row.width));

    temp.set(keys::kHeight, QStringLiteral("20"));
    EXPECT_EQ(temp.fileBytes(), bytesOf(row.afterSave));
    EXPECT_EQ(temp.get(keys::kWidth), QString::fromStdString(row.width));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath() + QStringLiteral(".damaged")));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath() + QStringLiteral(".kept")));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ValueAsText,
    ::testing::Values(
        // Spellings of "@Variant(" that a binary decoder would decode.
        TextRow{"plainTag", "[OPTION]\nWIDTH=@Variant(\\0\\0\\0\\x7f)\nHEIGHT=18\n", "@Variant(\0\0\0\x7f)"s,
                "[OPTION]\nWIDTH=@Variant(\\0\\0\\0\\x7f)\nHEIGHT=20\n"},
        TextRow{"hexEscapedAt", "[OPTION]\nWIDTH=\\x40Variant(\\0\\0\\0\\x7f)\nHEIGHT=18\n", "@Variant(\0\0\0\x7f)"s,
                "[OPTION]\nWIDTH=\\x40Variant(\\0\\0\\0\\x7f)\nHEIGHT=20\n"},
        TextRow{"octalEscapedAt", "[OPTION]\nWIDTH=\\100Variant(\\0\\0\\0\\x7f)\nHEIGHT=18\n", "@Variant(\0\0\0\x7f)"s,
                "[OPTION]\nWIDTH=\\100Variant(\\0\\0\\0\\x7f)\nHEIGHT=20\n"},
        TextRow{"emptyQuotesBefore", "[OPTION]\nWIDTH=\"\"@Variant(\\0\\x7f)\nHEIGHT=18\n", "@Variant(\0\x7f)"s,
                "[OPTION]\nWIDTH=\"\"@Variant(\\0\\x7f)\nHEIGHT=20\n"},
        TextRow{"quotedAfterTheAt", "[OPTION]\nWIDTH=@\"Variant(\"\\0\\x7f)\nHEIGHT=18\n", "@Variant(\0\x7f)"s,
                "[OPTION]\nWIDTH=@\"Variant(\"\\0\\x7f)\nHEIGHT=20\n"},
        TextRow{"lineEndsOfCarriageReturnsAlone", "[OPTION]\rWIDTH=@Variant(\\0\\x7f)\rHEIGHT=18\r", "@Variant(\0\x7f)"s,
                "[OPTION]\rWIDTH=@Variant(\\0\\x7f)\rHEIGHT=20\r"},
        TextRow{"otherTagsAndAnElementOfAList", "[OPTION]\nWIDTH=16, @DateTime(\\0)\nX=@ByteArray(a)\n",
                "16, @DateTime(\0)"s, "[OPTION]\nWIDTH=16, @DateTime(\\0)\nX=@ByteArray(a)\nHEIGHT=20\n"},
        // What the store writes for a text starting with "@" reads back as it.
        TextRow{"doubledAt", "[OPTION]\nWIDTH=@@Variant(x)\n", "@Variant(x)", "[OPTION]\nWIDTH=@@Variant(x)\nHEIGHT=20\n"},
        // Comments are comments, whatever they mention.
        TextRow{"commentMentioningTheTag", "; never write WIDTH=@Variant(...) here\n[OPTION]\nWIDTH=16\n", "16",
                "; never write WIDTH=@Variant(...) here\n[OPTION]\nWIDTH=16\nHEIGHT=20\n"},
        TextRow{"hashCommentInTheSection", "[OPTION]\n# WIDTH=@Variant(\\0\\0\\0\\x7f)\nWIDTH=16\nHEIGHT=1\n", "16",
                "[OPTION]\n# WIDTH=@Variant(\\0\\0\\0\\x7f)\nWIDTH=16\nHEIGHT=20\n"},
        TextRow{"commentAfterTheValueWithAQuote", "[OPTION]\nWIDTH=16 ; not \"@Variant(\\0)\nHEIGHT=18 ; \"\n", "16",
                "[OPTION]\nWIDTH=16 ; not \"@Variant(\\0)\nHEIGHT=20 ; \"\n"},
        // Line ends: each line keeps its own; new lines end as the line they follow.
        TextRow{"windowsLineEnds", "[OPTION]\r\nWIDTH=16\r\n", "16", "[OPTION]\r\nWIDTH=16\r\nHEIGHT=20\r\n"},
        TextRow{"carriageReturnsAlone", "; mine\r[OPTION]\rWIDTH=16\r[MINE]\rX=1\r", "16",
                "; mine\r[OPTION]\rWIDTH=16\rHEIGHT=20\r[MINE]\rX=1\r"},
        TextRow{"mixedLineEnds", "[OPTION]\r\nWIDTH=16\rHEIGHT=18\nX=1\r\n", "16",
                "[OPTION]\r\nWIDTH=16\rHEIGHT=20\nX=1\r\n"},
        TextRow{"mixedLineEndsKeyMissing", "[OPTION]\r\nWIDTH=16\r[MINE]\nX=1\n", "16",
                "[OPTION]\r\nWIDTH=16\rHEIGHT=20\r[MINE]\nX=1\n"},
        TextRow{"mixedLineEndsSectionMissing", "[MINE]\nX=1\r\nWIDTH=16\r", "",
                "[MINE]\nX=1\r\nWIDTH=16\r\r[OPTION]\rHEIGHT=20\r"},
        TextRow{"continuedOverACarriageReturn", "[OPTION]\rWIDTH=1\\\r6\rHEIGHT=18", "16", "[OPTION]\rWIDTH=1\\\r6\rHEIGHT=20"}),
    [](const auto& info) { return std::string(info.param.name); });

// A serialised value nested fifty thousand lists deep (about 900 KB), as a
// binary decoder would follow it down its stack: read as text, it is one
// long value, and a save of another key keeps it byte for byte.
TEST(ValuesAsText, ADeeplyNestedSerialisedValueIsOneLongText)
{
    std::string nested;
    std::string text = "@Variant(";
    for (int level = 0; level < 50000; ++level) {
        nested += "\\0\\0\\0\\t\\0\\0\\0\\x01";
        text += "\0\0\0\t\0\0\0\x01"s;
    }
    const std::string file = "[OPTION]\nWIDTH=\\x40Variant(" + nested + "\nHEIGHT=18\n";
    ASSERT_GT(file.size(), 900'000u);
    TempStore temp;
    ASSERT_TRUE(writeBytes(temp.filePath(), bytesOf(file)));
    EXPECT_EQ(temp.get(keys::kWidth), QString::fromStdString(text));

    temp.set(keys::kHeight, QStringLiteral("20"));
    EXPECT_EQ(temp.fileBytes(), bytesOf("[OPTION]\nWIDTH=\\x40Variant(" + nested + "\nHEIGHT=20\n"));
}

// The store writes a value as its INI writer always has, so that files
// written before read the same and values written now read back.
struct WrittenRow {
    std::string text;
    std::string written;
};

TEST(ValuesAsText, ValuesAreWrittenAsBeforeAndReadBack)
{
    const WrittenRow rows[] = {
        {"16", "16"},
        {"13,5", "\"13,5\""},
        {" 18", "\" 18\""},
        {"a=b;c", "\"a=b;c\""},
        {"1 6", "1 6"},
        {"\t20,5\n", "\"\\t20,5\\n\""},
        {"say \"hi\" \\ there", "say \\\"hi\\\" \\\\ there"},
        {"@Variant(x)", "@@Variant(x)"},
        {"@", "@@"},
        {"\x01" "7b\x1f" "g", "\\x1\\x37\\x62\\x1fg"},
        {"1\0" "6"s, "@String(1\\0\\x36)"},
        {"caf\xc3\xa9 \xe2\x82\xac\x7f", "caf\xc3\xa9 \xe2\x82\xac\x7f"},
        {"", ""},
    };
    for (const WrittenRow& row : rows) {
        EXPECT_EQ(ini::writtenValue(row.text), row.written) << row.text;
        EXPECT_EQ(ini::valueText(row.written), row.text) << row.written;
    }
    EXPECT_EQ(ini::writtenLine("a b/c\xc3\xa9", "1"), "a%20b\\c%E9=1");
    EXPECT_EQ(ini::name("a%20b\\c%E9%U20AC%"), "a b/c\xc3\xa9\xe2\x82\xac%");
}

} // namespace
} // namespace korval
