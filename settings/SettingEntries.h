#pragma once

#include <QList>
#include <QString>

#include <utility>

namespace korval {

// Values that go to the store together, under one section: each key with its
// text, in the order they are written.
using SettingEntries = QList<std::pair<QString, QString>>;

} // namespace korval
