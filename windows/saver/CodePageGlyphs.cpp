#include "CodePageGlyphs.h"

#include "windows/platform/Win32.h"

namespace korval::windows {

CodePageGlyphs::CodePageGlyphs()
{
    for (int code = 0; code < 256; ++code) {
        const char byte = static_cast<char>(code);
        wchar_t character = 0;
        if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &byte, 1, &character, 1) != 1)
            continue;
        WORD type = 0;
        if (!GetStringTypeW(CT_CTYPE1, &character, 1, &type) || (type & (C1_CNTRL | C1_SPACE | C1_BLANK)) ||
            type == 0)
            continue;
        glyphs_[static_cast<unsigned>(code)] = character;
    }
}

} // namespace korval::windows
