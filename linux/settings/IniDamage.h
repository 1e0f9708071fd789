#pragma once

#include <QByteArrayView>

namespace korval {

// What marks the bytes of a settings file as written by something other than
// a settings writer: such a file is not to be taken apart and put back
// together, and some of it is not even to be parsed.

// Whether the bytes are UTF-8 text without NUL bytes.
bool plainText(QByteArrayView bytes);

// Whether a value (or an element of a list of values) starts with a tag that
// the INI parser would decode from binary.
bool holdsBinaryValue(QByteArrayView bytes);

} // namespace korval
