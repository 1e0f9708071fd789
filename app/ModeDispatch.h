#pragma once

#include <QString>
#include <QStringList>

namespace korval {

enum class Mode {
    Preview,   // "/p": end at once, show nothing
    Configure, // "/c" or no argument: the options dialog
    Saver,     // "/s": the saver
    Hosted,    // "-root", "-window-id ID": the rain in a window a screen-saver host made
    Unknown,   // anything else
};

// The argument string as the host passed it: the arguments after the
// program's name, joined by single spaces.
QString argumentString(const QStringList& arguments);

// The argument without the spaces a host put around it.
QString withoutPadding(const QString& argument);

// The mode chosen by the first two characters of the trimmed, lower-cased
// argument string; the rest (a window handle after "/c:" or "/p ") is ignored.
Mode selectMode(const QString& argumentString);

// The one-line usage text for a switch that selects no mode.
QString usageText();
// The text of --help.
QString helpText();

} // namespace korval
