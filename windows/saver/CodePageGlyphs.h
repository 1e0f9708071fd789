#pragma once

#include <array>

namespace korval::windows {

// The character that each caption code 0..255 stands for: the byte's
// character in the system's ANSI code page, looked up once. Codes without a
// visible form (control codes, codes the code page leaves undefined, the
// spaces) have none, and their cells paint empty.
class CodePageGlyphs {
public:
    CodePageGlyphs();

    // The character, or 0 for none; codes outside 0..255 have none.
    wchar_t operator[](int code) const { return code >= 0 && code < 256 ? glyphs_[static_cast<unsigned>(code)] : 0; }

private:
    std::array<wchar_t, 256> glyphs_{};
};

} // namespace korval::windows
