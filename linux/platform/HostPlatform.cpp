#include "HostPlatform.h"

#include <cstdio>
#include <cstdlib>

namespace korval {

// One line per message, so that a host's log keeps it together: a run-time
// error's "Run-time error '13':\n\nType mismatch" reads
// "korval: Run-time error '13': Type mismatch".
void HostPlatform::messageBox(const QString& text, int)
{
    const QString line = text.simplified();
    std::fprintf(stderr, "korval: %s\n", qPrintable(line));
    std::fflush(stderr);
}

void HostPlatform::endProgram(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace korval
