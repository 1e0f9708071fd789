#pragma once

#include <QChar>

namespace korval {

// The character with the given code (0..255) in the Windows-1250 (Central
// European) single-byte code page, the character set 238 of the cells' font.
// Codes without a visible form (control codes, undefined codes, the spaces)
// give QChar(), which paints as an empty cell.
QChar characterOfCode(int code);

} // namespace korval
