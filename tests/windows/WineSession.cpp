// Holds a Wine session open for a test run: while one program runs, Wine's
// server and its system processes stay up, so each test program starts into
// a session that is whole, and none meets a server or a desktop that is
// shutting down as it connects ("recvmsg: Connection reset by peer"), as it
// would if every `wine` command started and stopped them.
//
// It first brings Wine's desktop up (the first call that needs the desktop
// window starts it and waits for it), then prints "ready" and sleeps for the
// seconds given (an hour by default); the run ends it with `wineserver -k`.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 3600;
    if (!GetDesktopWindow()) {
        std::fputs("no desktop window\n", stderr);
        return 1;
    }
    std::puts("ready");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(seconds > 0 ? seconds : 3600) * 1000);
    return 0;
}
