#include "IniLines.h"

namespace korval {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

// The bounds of the next line from `position` on, found the way QSettings
// finds them, which `position` is left after; false at the end of the bytes.
bool nextLine(QByteArrayView bytes, qsizetype& position, IniLine& line)
{
    const qsizetype size = bytes.size();
    qsizetype start = position;
    while (start < size && isSpace(bytes[start]))
        ++start;
    bool quoted = false;
    qsizetype equals = -1;
    qsizetype i = start;
    while (i < size) {
        const char c = bytes[i++];
        if (c == '=') {
            if (!quoted && equals < 0)
                equals = i - 1;
        } else if (isLineEnd(c)) {
            if (!quoted) {
                --i;
                break;
            }
        } else if (c == '\\') {
            // The escaped character, or an escaped line end of one or two bytes.
            if (i < size) {
                const char escaped = bytes[i++];
                if (i < size && isLineEnd(escaped) && isLineEnd(bytes[i]) && bytes[i] != escaped)
                    ++i;
            }
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ';') {
            if (i == start + 1) { // a comment line: skip it and what follows it
                while (i < size && !isLineEnd(bytes[i]))
                    ++i;
                while (i < size && isSpace(bytes[i]))
                    ++i;
                start = i;
            } else if (!quoted) { // a comment after the line
                --i;
                break;
            }
        }
    }
    position = i;
    line = IniLine{start, i, false, {}, equals >= 0, {}, {}};
    if (equals >= 0) {
        line.key = bytes.sliced(start, equals - start).trimmed();
        line.value = bytes.sliced(equals + 1, i - equals - 1);
    }
    return i > start;
}

// A header's name: between "[" and the first "]" (or the end of the line).
QByteArrayView headerName(QByteArrayView text)
{
    const qsizetype close = text.indexOf(']');
    return text.first(close < 0 ? text.size() : close).sliced(1).trimmed();
}

} // namespace

QList<IniLine> iniLines(QByteArrayView bytes)
{
    QList<IniLine> lines;
    QByteArrayView section;
    qsizetype position = bytes.startsWith("\xef\xbb\xbf") ? 3 : 0; // a byte order mark is no line
    IniLine line;
    while (nextLine(bytes, position, line)) {
        const QByteArrayView text = bytes.sliced(line.start, line.end - line.start);
        if (text.startsWith('[')) {
            section = headerName(text);
            line.header = true;
            line.assignment = false;
            line.key = line.value = {};
        }
        line.section = section;
        lines.append(line);
    }
    return lines;
}

} // namespace korval
