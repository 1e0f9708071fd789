#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <optional>

namespace korval {

// QSettings reads a value with a comma outside quotes ("13,5", as a user of a
// decimal-comma format writes a number by hand) as a list of the texts
// between the commas, trimmed. This puts the value back together as the text
// that stands in the file: the elements as QSettings read them, joined by
// the commas and the spaces around them as written.
//
// `elements` is what QSettings read for the key in the file's `bytes`; there
// is no answer when the key's line cannot be found or does not match them.
std::optional<QString> listAsWritten(QByteArrayView bytes, const QString& section, const QString& key,
                                     const QStringList& elements);

} // namespace korval
