// Holds a Wine session open for a test run: while one program runs, Wine's
// server and its system processes stay up, so each test program starts at
// once, and no test meets a server that is shutting down as it connects
// ("recvmsg: Connection reset by peer"). It sleeps for the seconds given
// (an hour by default); the run ends it earlier with `wineserver -k`.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv)
{
    const long seconds = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 3600;
    Sleep(static_cast<DWORD>(seconds > 0 ? seconds : 3600) * 1000);
    return 0;
}
