#pragma once

#include <string>
#include <string_view>

// Text steps of the rules, on UTF-8.
namespace korval {

// The text without the space characters (U+0020 only) at its ends.
std::string_view withoutSpaces(std::string_view text);

// The text with A..Z lowered; every other byte as it was.
std::string lowerAscii(std::string_view text);

} // namespace korval
