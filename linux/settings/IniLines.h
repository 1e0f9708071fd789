#pragma once

#include <QByteArrayView>
#include <QList>

namespace korval {

// One line of an INI file as QSettings reads it. A line may span several
// lines of the file (a quoted value or a backslash carries it on) and may stop
// short of the line end (at a ";" that starts a comment). Comment lines,
// blank lines and the spaces around lines are no lines at all.
struct IniLine {
    qsizetype start = 0; // offset of its first byte in the file
    qsizetype end = 0;   // offset just after its last byte
    bool header = false; // "[name]", starting a section
    // For a header its own name, for any other line the name of the section
    // it stands in (empty before the first header): trimmed, as written.
    QByteArrayView section;
    bool assignment = false; // holds an "=" outside quotes
    QByteArrayView key;      // before that "=", trimmed
    QByteArrayView value;    // after it, as written
};

// The lines of a file, in file order. The views point into `bytes`.
QList<IniLine> iniLines(QByteArrayView bytes);

} // namespace korval
