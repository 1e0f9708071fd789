// The reader of INI text and the save built on it, fed any bytes as a
// settings file. The lines cover the file in order; every value reads as
// UTF-8 text; any text written as a value reads back as itself; and a save
// into any file gives a text that reads back with the saved values, unless
// even the file written whole would not (a finding).

#include "settings/IniSave.h"
#include "settings/IniText.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace korval;

namespace {

[[noreturn]] void fail(const char* why)
{
    std::fprintf(stderr, "fuzz finding: %s\n", why);
    std::abort();
}

void checkLines(std::string_view text)
{
    ini::Scanner scanner(text);
    std::size_t expected = text.starts_with(ini::kByteOrderMark) ? ini::kByteOrderMark.size() : 0;
    for (ini::Line line; scanner.next(line);) {
        if (line.start != expected)
            fail("a line does not start where the one before ended");
        if (!(line.start <= line.contentStart && line.contentStart <= line.contentEnd && line.contentEnd <= line.end
              && line.end < line.next + (line.next == text.size() ? 1 : 0) && line.next <= text.size()))
            fail("a line's parts are out of order");
        if (!ini::isUtf8(line.section))
            fail("a section's name reads as something other than UTF-8");
        if (line.kind == ini::LineKind::Assignment && !ini::isUtf8(ini::valueText(line.value)))
            fail("a value reads as something other than UTF-8");
        expected = line.next;
    }
    if (expected != text.size())
        fail("the lines do not reach the end of the file");
}

void checkRoundTrip(const std::string& text)
{
    if (ini::valueText(ini::writtenValue(text)) != text)
        fail("a value written does not read back as itself");
    if (ini::name(ini::writtenName(text)) != text)
        fail("a name written does not read back as itself");
}

void checkSave(std::string_view file, const std::string& value)
{
    const ini::Entries entries{{"WIDTH", value}, {"HEIGHT", "20"}};
    const std::optional<ini::Save> save = ini::saved(file, "OPTION", entries);
    if (!save)
        fail("a save found no text that reads back");
    if ((save->copy == ini::Save::Copy::Damaged) != ini::damaged(file))
        fail("a damaged file was not taken for one, or a sound one was");
    if (ini::valueIn(save->text, "OPTION", "WIDTH") != value || ini::valueIn(save->text, "OPTION", "HEIGHT") != "20")
        fail("a saved value does not read back");
    const std::optional<ini::Save> again = ini::saved(save->text, "OPTION", entries);
    if (!again || again->copy != ini::Save::Copy::None || again->text != save->text)
        fail("saving the same values again changes the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    checkLines(file);
    // The whole input read as one value gives a text to write.
    const std::string value = ini::valueText(file);
    checkRoundTrip(value);
    checkSave(file, value);
    return 0;
}
