#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace korval {

// Puts the lines of one section, as QSettings wrote them into a file of their
// own ("[OPTION]" and its "KEY=value" lines), into the text of a settings
// file, so that everything else in the file keeps its bytes: other sections
// and keys, comments, blank lines, the order of the keys, the line ends.
//
// Each line of the file that sets one of the keys in that section (every one
// of them, where a key is written twice or a section twice) gives way to the
// key's new line; a key the section lacks is added after the section's last
// key (in its last header's part of the file); a section the file lacks is
// added at its end. New lines end as the file's
// first line does.
QByteArray splicedSection(QByteArrayView file, QByteArrayView section);

} // namespace korval
