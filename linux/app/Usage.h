#pragma once

#include <QString>
#include <QStringList>

namespace korval {

// The argument string as a host passed it: the arguments after the
// program's name, joined by single spaces.
QString argumentString(const QStringList& arguments);

// The one-line usage text for a switch that selects no mode.
QString usageText();
// The text of --help.
QString helpText();

} // namespace korval
