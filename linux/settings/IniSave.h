#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Reading one value from the text of a settings file, and what the file is to
// hold after a save, all through the one reader of IniText.h.
namespace korval::ini {

// Keys with their texts, under one section, in the order given.
using Entries = std::vector<std::pair<std::string, std::string>>;

// Whether the text is not to be taken apart and put back together: it is not
// UTF-8, holds NUL bytes, or has a header without its "]".
bool damaged(std::string_view text);

// The text of the key's last line in the section (sections and keys compare
// by name, case-sensitive; a section written twice is one section), or
// nothing when the key is missing or the file has a header without its "]".
std::optional<std::string> valueIn(std::string_view text, std::string_view section, std::string_view key);

struct Save {
    enum class Copy {
        None,    // the file changes only in the lines of the keys saved
        Damaged, // the file is damaged: keep it as <file>.damaged; the new text holds only the keys saved
        Kept,    // the lines could not go into the file's text: keep it as <file>.kept; the new text is
                 // every key of the file, written whole
    };
    Copy copy = Copy::None;
    std::string text;
};

// What the file is to hold once the entries are saved into the section, given
// what it holds now (nothing: there is no file). Each line of a saved key in
// the section gives way to the line the store writes for it, from its key to
// the end of its value (the indentation, blanks and a comment after it stay);
// a key the section lacks is added after its last line, in name order; a
// section the file lacks is added at its end, after a blank line. New lines
// end as the line they follow does (after a last line without a line end, as
// the file's first line does; LF in a file without line ends), so no line
// changes its line end. Every other byte stays.
//
// The new text is read back before it is given: the saved keys hold their
// new texts and every other key what it held. Nothing is given when even the
// file written whole does not read back so.
std::optional<Save> saved(std::optional<std::string_view> current, std::string_view section, const Entries& entries);

} // namespace korval::ini
