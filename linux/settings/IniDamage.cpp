#include "IniDamage.h"

#include <QStringDecoder>

namespace korval {
namespace {

// A value that begins with "@Variant(" or "@DateTime(" is data the INI
// parser decodes from binary, where a forged length asks for gigabytes. This
// program only ever stores plain text, and QSettings writes a text that
// starts with "@" as "@@..." or "@String(...)", so a value (or an element of
// a list of values) beginning with such a tag was never written here: a file
// holding one is not handed to the parser at all. Other tags ("@ByteArray(",
// "@Invalid()", which QSettings writes for a key it cannot hold) decode
// nothing binary.
bool startsBinaryTag(QByteArrayView element)
{
    while (!element.empty() && (element.front() == ' ' || element.front() == '\t'))
        element = element.sliced(1);
    if (!element.empty() && element.front() == '"')
        element = element.sliced(1);
    return element.startsWith("@Variant(") || element.startsWith("@DateTime(");
}

} // namespace

// Settings files are UTF-8 text; NUL bytes or invalid sequences mean that
// something other than a settings writer put bytes there, which the parser
// replaces or skips in silence. The decoder reports an error only once the
// text is really decoded, and only a stateless one counts a sequence cut off
// at the end as an error rather than waiting for more bytes.
bool plainText(QByteArrayView bytes)
{
    if (bytes.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Walks each value as the parser reads it: from the first "=" of its line,
// through quotes and backslash escapes, onto continued lines, looking at the
// start of the value and of every element after an unquoted comma.
bool holdsBinaryValue(QByteArrayView bytes)
{
    bool inValue = false;
    bool quoted = false;
    bool elementStart = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\n') { // a line ended by a backslash never gets here
            inValue = quoted = elementStart = false;
            continue;
        }
        if (!inValue) {
            if (c == '=') {
                inValue = true;
                elementStart = true;
            }
            continue;
        }
        if (elementStart && startsBinaryTag(bytes.sliced(i)))
            return true;
        if (c != ' ' && c != '\t')
            elementStart = false;
        if (c == '\\') {
            // An escaped character starts nothing; an escaped line end
            // carries the value on to the next line.
            ++i;
            if (i + 1 < bytes.size() && bytes[i] == '\r' && bytes[i + 1] == '\n')
                ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            elementStart = true;
        }
    }
    return false;
}

} // namespace korval
