#include "CommandLine.h"
#include "Program.h"

#include "windows/platform/Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    return korval::windows::runProgram(korval::windows::argumentString(GetCommandLineW()));
}
