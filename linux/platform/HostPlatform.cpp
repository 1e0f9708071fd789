#include "HostPlatform.h"

#include "LocaleFormat.h"
#include "QtText.h"

#include <cstdio>
#include <cstdlib>

namespace korval {

HostPlatform::HostPlatform() : format_(regionalFormatOf(QLocale())) {}

// One line per message, so that a host's log keeps it together: a run-time
// error's "Run-time error '13':\n\nType mismatch" reads
// "korval: Run-time error '13': Type mismatch".
void HostPlatform::messageBox(const std::string& text, MessageStyle)
{
    const QString line = qtText(text).simplified();
    std::fprintf(stderr, "korval: %s\n", qPrintable(line));
    std::fflush(stderr);
}

void HostPlatform::endProgram(int status)
{
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace korval
