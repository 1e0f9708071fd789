#include "ModeDispatch.h"

#include <cstdio>

namespace korval {

QString argumentString(const QStringList& arguments)
{
    return arguments.mid(1).join(QLatin1Char(' '));
}

Mode selectMode(const QString& argumentString)
{
    // Only space characters are trimmed, as the host pads with spaces alone.
    qsizetype first = 0;
    qsizetype end = argumentString.size();
    while (first < end && argumentString[first] == QLatin1Char(' '))
        ++first;
    while (end > first && argumentString[end - 1] == QLatin1Char(' '))
        --end;
    const QString key = argumentString.mid(first, std::min<qsizetype>(2, end - first)).toLower();

    if (key == QLatin1String("/p"))
        return Mode::Preview;
    if (key == QLatin1String("/c"))
        return Mode::Configure;
    if (key == QLatin1String("/s"))
        return Mode::Saver;
    if (key.isEmpty())
        return Mode::Configure;
    return Mode::Unknown;
}

QString usageText()
{
    return QStringLiteral("usage: korval [/s | /c[:handle] | /p handle | --help]");
}

QString helpText()
{
    return QStringLiteral("usage: korval [/s | /c[:handle] | /p handle]\n"
                          "  /s            run the screen saver on the primary screen\n"
                          "  /c, /c:handle open the options dialog (also with no argument)\n"
                          "  /p handle     preview: not supported, ends at once\n"
                          "  --help        show this text\n");
}

std::optional<int> answerWithoutWindows(const QString& argumentString)
{
    const QString trimmed = argumentString.trimmed();
    if (trimmed == QLatin1String("--help") || trimmed == QLatin1String("-h")) {
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    }
    switch (selectMode(argumentString)) {
    case Mode::Preview:
        return 0;
    case Mode::Unknown:
        std::fprintf(stderr, "%s\n", qPrintable(usageText()));
        return 2;
    case Mode::Configure:
    case Mode::Saver:
        break;
    }
    return std::nullopt;
}

} // namespace korval
