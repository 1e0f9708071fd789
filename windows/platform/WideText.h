#pragma once

#include <string>
#include <string_view>

// Windows speaks UTF-16; the rules speak UTF-8. Texts cross at the edge of
// the front end, here, and nowhere else.
namespace korval::windows {

// Unpaired surrogates become U+FFFD.
std::string toUtf8(std::wstring_view text);
// Bytes that are not UTF-8 become U+FFFD.
std::wstring toWide(std::string_view text);

// The system's text for an error code from GetLastError or a registry call,
// in UTF-8, without the line break it ends with.
std::string systemErrorText(unsigned long code);

} // namespace korval::windows
