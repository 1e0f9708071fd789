#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace korval::testing {

// Puts the given bytes where a settings file goes, creating its folder.
inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Bytes that are no INI file, the same in every run.
inline QByteArray binaryGarbage(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7919 + 13) % 251);
    return bytes;
}

// A settings file whose WIDTH spells a serialised value with an escaped "@",
// nested fifty thousand lists deep (about 900 KB), which a binary decoder
// would follow down its stack.
inline QByteArray deeplyNestedVariant()
{
    QByteArray bytes = "[OPTION]\nWIDTH=\\x40Variant(";
    for (int level = 0; level < 50000; ++level)
        bytes += "\\0\\0\\0\\t\\0\\0\\0\\x01";
    return bytes + "\nHEIGHT=18\n";
}

// The spellings of "@Variant(" that a binary decoder would decode, one for
// each of the three cell settings, in a file whose lines end in CR alone.
inline QByteArray variantSpellings()
{
    return "[OPTION]\rTEXTSIZE=\\100Variant(\\0\\x7f)\rWIDTH=\"\"@Variant(\\0\\x7f)\r"
           "HEIGHT=@\"Variant(\"\\0\\x7f)\r";
}

} // namespace korval::testing
