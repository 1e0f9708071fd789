#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The few steps the rules take through UTF-8 text one code point at a time.
namespace korval::utf8 {

// A byte sequence that is not UTF-8 decodes one byte at a time to this.
inline constexpr char32_t kReplacement = 0xFFFD;

// The code point that starts at `position`, which moves past it.
char32_t next(std::string_view text, std::size_t& position);

void append(std::string& text, char32_t codePoint);

// The first `count` code points of the text (all of it when shorter).
std::string_view leftmost(std::string_view text, std::size_t count);

} // namespace korval::utf8
