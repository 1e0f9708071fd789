#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace korval {

enum class Mode {
    Preview,   // "/p": end at once, show nothing
    Configure, // "/c" or no argument: the options dialog
    Saver,     // "/s": the saver
    Unknown,   // anything else
};

// The argument string as the host passed it: the arguments after the
// program's name, joined by single spaces.
QString argumentString(const QStringList& arguments);

// The mode chosen by the first two characters of the trimmed, lower-cased
// argument string; the rest (a window handle after "/c:" or "/p ") is ignored.
Mode selectMode(const QString& argumentString);

// The one-line usage text for a switch that selects no mode.
QString usageText();
// The text of --help.
QString helpText();

// Answers what needs no window before Qt looks for a display and before the
// instance lock is taken: --help, the preview (not supported), and a switch
// that selects no mode. Returns the exit status, or nothing when the saver
// or the dialog is to run.
std::optional<int> answerWithoutWindows(const QString& argumentString);

} // namespace korval
