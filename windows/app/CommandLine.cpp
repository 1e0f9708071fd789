#include "CommandLine.h"

#include "windows/platform/WideText.h"

namespace korval::windows {

namespace {

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

} // namespace

// The program's path ends where Windows' own parser ends it: at the closing
// quote when it starts with one (a path may hold spaces, never quotes),
// otherwise at the first blank.
std::wstring_view afterProgramPath(std::wstring_view commandLine)
{
    std::size_t position = 0;
    if (!commandLine.empty() && commandLine.front() == L'"') {
        const std::size_t closing = commandLine.find(L'"', 1);
        position = closing == std::wstring_view::npos ? commandLine.size() : closing + 1;
    }
    while (position < commandLine.size() && !isBlank(commandLine[position]))
        ++position;
    while (position < commandLine.size() && isBlank(commandLine[position]))
        ++position;
    return commandLine.substr(position);
}

std::string argumentString(std::wstring_view commandLine)
{
    return toUtf8(afterProgramPath(commandLine));
}

std::string usageText()
{
    return "usage: korval.scr [/s | /c[:handle] | /p handle | /a]\n"
           "\n"
           "/s\trun the screen saver\n"
           "/c, /c:handle\topen the options dialog (also with no argument)\n"
           "/p handle\tpreview: not supported, ends at once\n"
           "/a\tchange the password: the saver has none, ends at once";
}

} // namespace korval::windows
