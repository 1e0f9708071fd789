// The command line to a mode: any argument string selects exactly one mode,
// spaces around it do not matter, and nothing after its first two characters
// does either.

#include "FuzzSupport.h"

#include "app/ModeDispatch.h"

#include <QStringList>

using namespace korval;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    fuzz::startApplication(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString arguments = fuzz::textOf(data, size);
    const Mode mode = selectMode(arguments);
    if (mode != Mode::Preview && mode != Mode::Configure && mode != Mode::Saver && mode != Mode::Unknown)
        fuzz::fail("selectMode returned no mode");

    const QString padded = QStringLiteral("  ") + arguments + QStringLiteral("   ");
    if (selectMode(padded) != mode)
        fuzz::fail("spaces around the arguments changed the mode");

    // The first two characters after the leading spaces decide; a window
    // handle or anything else after them is never read.
    qsizetype first = 0;
    while (first < arguments.size() && arguments[first] == QLatin1Char(' '))
        ++first;
    const QString head = arguments.mid(first, 2);
    if (head.size() == 2 && head[1] != QLatin1Char(' ')
        && selectMode(head + QStringLiteral(":12345 anything")) != mode)
        fuzz::fail("text after the first two characters changed the mode");

    // The argument list the process receives, split where the host put spaces.
    const QStringList list = QStringList{QStringLiteral("korval")} + arguments.split(QLatin1Char(' '));
    if (selectMode(argumentString(list)) != mode)
        fuzz::fail("joining the argument list changed the mode");
    return 0;
}
