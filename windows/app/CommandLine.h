#pragma once

#include <string>
#include <string_view>

// The command line as Windows hands it over (GetCommandLineW): one text that
// starts with the program's path, quoted when it holds spaces. The host's
// switches follow it: "/s", "/c:1234", "/p 1234", "-S". The rules choose the
// mode from the rest (core/dispatch).
namespace korval::windows {

// What follows the program's path and the blanks after it.
std::wstring_view afterProgramPath(std::wstring_view commandLine);

// The argument string the rules read, in UTF-8.
std::string argumentString(std::wstring_view commandLine);

// What a switch the program does not know is answered with.
std::string usageText();

} // namespace korval::windows
