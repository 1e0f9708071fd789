#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The text of an INI file: its lines, what a value written in it reads as,
// and the line the store writes for a value. Everything works on the file's
// bytes (UTF-8) and on UTF-8 text; nothing here is ever decoded as anything
// but text.
namespace korval::ini {

enum class LineKind {
    Blank,      // nothing but blanks
    Comment,    // starts with ";" or "#"
    Header,     // "[name]"
    Assignment, // "key=value"
    Other,      // anything else: kept, never read
};

// One line of the file. A line ends at a line end (LF, CR or CRLF) that is
// neither escaped by a backslash nor inside double quotes, so it may span
// several lines of the file. A ";" outside quotes ends what the line says;
// the rest of the line is a comment after it.
struct Line {
    LineKind kind = LineKind::Blank;
    std::size_t start = 0;        // its first byte (the indentation included)
    std::size_t contentStart = 0; // after the indentation
    std::size_t contentEnd = 0;   // after the last byte it says, blanks before a comment or line end left out
    std::size_t end = 0;          // before its line end (a comment after it included)
    std::size_t next = 0;         // after its line end: where the next line starts
    // The name (see name()) of the section the line stands in, "" before the
    // first header; a header's own. Valid until the next line is read.
    std::string_view section;
    std::string_view key;   // an assignment's key as written, blanks around it left out
    std::string_view value; // an assignment's value as written, up to a comment or the line end
};

// Reads the lines of a text one after the other, in one pass, holding no
// more than the line at hand, from the start (after a byte order mark).
class Scanner {
public:
    explicit Scanner(std::string_view text);

    // The next line; false at the end of the text.
    bool next(Line& line);

    // Whether a "[" line without its "]" was read: which section the lines
    // after it stand in is unclear.
    bool unclosedHeader() const { return unclosedHeader_; }

private:
    void readContent(Line& line);

    std::string_view text_;
    std::size_t position_ = 0;
    std::string section_;
    bool unclosedHeader_ = false;
};

// A section or key name as written ("%20" and "%U00E9" escapes, "\" for "/")
// read as the name it stands for, and the other way round: how the store
// writes a name.
std::string name(std::string_view written);
std::string writtenName(std::string_view name);

// What a value as written reads as: escapes (\" \\ \n \t \x41 \101 ...) and
// double-quoted parts decoded, an escaped line end dropped, the blanks at
// either end of the value left out unless quoted, a comma outside quotes and
// the blanks around it kept as written; "@@" at its start reads as "@". The
// result is UTF-8: a byte sequence that is not becomes U+FFFD.
std::string valueText(std::string_view written);

// How the store writes a value, so that valueText gives it back: escaped and
// quoted where needed.
std::string writtenValue(std::string_view text);

// "key=value", as the store writes it (no line end).
std::string writtenLine(std::string_view key, std::string_view value);

// Whether the bytes are UTF-8 (NUL bytes are UTF-8, but no text of a settings
// file holds them).
bool isUtf8(std::string_view bytes);

// The file's text once its UTF-8 byte order mark, if any, is left out.
constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

} // namespace korval::ini
