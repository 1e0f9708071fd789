#pragma once

#include <string_view>

namespace korval::windows {

// Runs the mode that the argument string (UTF-8, after the program's path)
// chooses, and returns the exit status.
int runProgram(std::string_view argumentString);

} // namespace korval::windows
