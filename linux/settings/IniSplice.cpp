#include "IniSplice.h"

#include "IniLines.h"

#include <QList>

#include <algorithm>

namespace korval {
namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

QByteArrayView textOf(QByteArrayView bytes, const IniLine& line)
{
    return bytes.sliced(line.start, line.end - line.start);
}

// The line without the blanks before a comment after it, which QSettings
// drops from the value anyway and which stay where they are.
qsizetype lengthWithoutTrailingBlanks(QByteArrayView bytes, const IniLine& line)
{
    qsizetype end = line.end;
    while (end > line.start && (bytes[end - 1] == ' ' || bytes[end - 1] == '\t'))
        --end;
    return end - line.start;
}

// The file's own line end, taken from its first line; "\n" when it has none.
QByteArray lineEndOf(QByteArrayView file)
{
    const qsizetype end = std::find_if(file.begin(), file.end(), isLineEnd) - file.begin();
    if (end == file.size())
        return QByteArrayLiteral("\n");
    if (file[end] == '\r' && end + 1 < file.size() && file[end + 1] == '\n')
        return QByteArrayLiteral("\r\n");
    return QByteArray(1, file[end]);
}

// Where the line of the file that `from` is on ends: a comment after a line
// belongs to it.
qsizetype endOfLineAt(QByteArrayView file, qsizetype from)
{
    while (from < file.size() && !isLineEnd(file[from]))
        ++from;
    return from;
}

struct Edit {
    qsizetype at;
    qsizetype removed;
    QByteArray inserted;
};

QByteArray applied(QByteArrayView file, QList<Edit> edits)
{
    std::stable_sort(edits.begin(), edits.end(), [](const Edit& a, const Edit& b) { return a.at < b.at; });
    QByteArray result;
    qsizetype done = 0;
    for (const Edit& edit : edits) {
        result += file.sliced(done, edit.at - done);
        result += edit.inserted;
        done = edit.at + edit.removed;
    }
    result += file.sliced(done);
    return result;
}

// A section the file lacks goes at its end, after a blank line as QSettings
// separates sections.
QByteArray appendedSection(QByteArrayView file, const QByteArray& lines, const QByteArray& lineEnd)
{
    QByteArray appended;
    if (!file.isEmpty() && !isLineEnd(file.back()))
        appended += lineEnd;
    if (!file.isEmpty())
        appended += lineEnd;
    return appended + lines + lineEnd;
}

} // namespace

QByteArray splicedSection(QByteArrayView file, QByteArrayView section)
{
    const QList<IniLine> newLines = iniLines(section);
    if (newLines.isEmpty() || !newLines.front().header)
        return file.toByteArray();
    const QByteArrayView name = newLines.front().section;
    const QByteArray lineEnd = lineEndOf(file);

    QList<Edit> edits;
    QList<bool> placed(newLines.size(), false);
    qsizetype sectionEnd = -1; // where the section's header or last key in the file ends
    for (const IniLine& line : iniLines(file)) {
        if (line.section != name || (!line.header && !line.assignment))
            continue;
        sectionEnd = endOfLineAt(file, line.end);
        for (qsizetype i = 1; i < newLines.size(); ++i) {
            if (line.assignment && newLines[i].assignment && line.key == newLines[i].key) {
                edits.append({line.start, lengthWithoutTrailingBlanks(file, line), textOf(section, newLines[i]).toByteArray()});
                placed[i] = true;
            }
        }
    }

    QByteArray missing;
    for (qsizetype i = sectionEnd < 0 ? 0 : 1; i < newLines.size(); ++i) {
        if (!placed[i])
            missing += (missing.isEmpty() ? QByteArray() : lineEnd) + textOf(section, newLines[i]).toByteArray();
    }
    if (sectionEnd >= 0 && !missing.isEmpty())
        edits.append({sectionEnd, 0, lineEnd + missing});
    else if (sectionEnd < 0)
        edits.append({file.size(), 0, appendedSection(file, missing, lineEnd)});
    return applied(file, edits);
}

} // namespace korval
