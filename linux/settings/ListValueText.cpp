#include "ListValueText.h"

#include "IniLines.h"

namespace korval {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The value of the key's last line in the section: the one QSettings reads.
std::optional<QByteArrayView> lastValue(QByteArrayView bytes, const QString& section, const QString& key)
{
    const QByteArray sectionName = section.toUtf8();
    const QByteArray keyName = key.toUtf8();
    std::optional<QByteArrayView> value;
    for (const IniLine& line : iniLines(bytes)) {
        if (line.assignment && line.section == sectionName && line.key == keyName)
            value = line.value;
    }
    return value;
}

// What QSettings drops at each comma outside quotes: the comma and the
// blanks written on either side of it. Escaped and quoted characters are
// never part of them.
QStringList commasWithTheirBlanks(QByteArrayView value)
{
    QStringList separators;
    bool quoted = false;
    qsizetype blanksFrom = -1; // where the blanks just before this character begin
    for (qsizetype i = 0; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '\\') {
            ++i; // the escaped character; an escaped line end's second byte is no blank or comma
        } else if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && isBlank(c)) {
            if (blanksFrom < 0)
                blanksFrom = i;
            continue;
        } else if (!quoted && c == ',') {
            qsizetype after = i + 1;
            while (after < value.size() && isBlank(value[after]))
                ++after;
            const qsizetype from = blanksFrom < 0 ? i : blanksFrom;
            separators.append(QString::fromLatin1(value.sliced(from, after - from)));
            i = after - 1;
        }
        blanksFrom = -1;
    }
    return separators;
}

} // namespace

std::optional<QString> listAsWritten(QByteArrayView bytes, const QString& section, const QString& key,
                                     const QStringList& elements)
{
    const std::optional<QByteArrayView> value = lastValue(bytes, section, key);
    if (!value || elements.isEmpty())
        return std::nullopt;
    const QStringList separators = commasWithTheirBlanks(*value);
    if (separators.size() != elements.size() - 1)
        return std::nullopt;
    QString text = elements.front();
    for (qsizetype i = 1; i < elements.size(); ++i)
        text += separators[i - 1] + elements[i];
    return text;
}

} // namespace korval
