#include "CommandLine.h"

#include "Usage.h"

#include "core/settings/SettingKeys.h"
#include "platform/QtText.h"

#include <QCommandLineParser>

#include <array>
#include <cstdio>

namespace korval {
namespace {

// The argument without the spaces a host put around it.
QString withoutPadding(const QString& argument)
{
    return qtText(korval::withoutPadding(utf8Text(argument)));
}

// The switches that give one setting a value for this run.
struct RunOnlySwitch {
    QLatin1StringView name;
    const settings::SettingKey& key;
};
const std::array<RunOnlySwitch, 3> kRunOnlySwitches{{
    {QLatin1StringView("text-size"), settings::kTextSize},
    {QLatin1StringView("cell-width"), settings::kWidth},
    {QLatin1StringView("cell-height"), settings::kHeight},
}};
const QString kBanner = QStringLiteral("banner");
const QString kNoBanner = QStringLiteral("no-banner");
const QString kRoot = QStringLiteral("root");
const QString kWindowId = QStringLiteral("window-id");
const QString kWindow = QStringLiteral("window");
const QString kHelp = QStringLiteral("help");

// The hosts' switches start with a dash; the Windows host's with a slash,
// and anything else is read the Windows way too, as it always was.
bool usesDashSwitches(const QStringList& arguments)
{
    for (const QString& argument : arguments.mid(1)) {
        const QString word = withoutPadding(argument);
        if (!word.isEmpty())
            return word.startsWith(QLatin1Char('-'));
    }
    return false;
}

// One dash or two, as the hosts write them: "-root" is "--root". Every
// style takes the switches for this run.
void prepare(QCommandLineParser& parser, const QList<QCommandLineOption>& options)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(options);
    for (const RunOnlySwitch& runOnly : kRunOnlySwitches)
        parser.addOption(QCommandLineOption(QString(runOnly.name), QString(), QStringLiteral("N")));
    parser.addOption(QCommandLineOption(kBanner));
    parser.addOption(QCommandLineOption(kNoBanner));
}

// The settings the switches give for this run, as the texts they give: they
// are checked where the saver reads them, as stored values are.
void readRunOnly(const QCommandLineParser& parser, CommandLine& line)
{
    for (const RunOnlySwitch& runOnly : kRunOnlySwitches) {
        if (parser.isSet(QString(runOnly.name)))
            line.runOnly.push_back({std::string(runOnly.key.name), utf8Text(parser.value(QString(runOnly.name)))});
    }
    if (parser.isSet(kBanner) && parser.isSet(kNoBanner))
        line.error = QStringLiteral("--banner and --no-banner exclude each other");
    else if (parser.isSet(kBanner) || parser.isSet(kNoBanner))
        line.runOnly.push_back({std::string(settings::kSystem.name), parser.isSet(kBanner) ? "1" : "0"});
}

// "/s" reads the switches for this run that follow it; every other word
// after the mode is ignored, as it always was.
CommandLine readWindowsSwitches(const QStringList& arguments)
{
    CommandLine line;
    line.mode = selectMode(utf8Text(argumentString(arguments)));
    if (line.mode != Mode::Saver)
        return line;
    QCommandLineParser parser;
    prepare(parser, {});
    if (!parser.parse(arguments))
        line.error = parser.errorText();
    else
        readRunOnly(parser, line);
    return line;
}

QString noWindowText(const QString& source, const QString& text)
{
    return QStringLiteral("%1 '%2' names no window: give its id in decimal or as 0x hexadecimal").arg(source, text);
}

// The window to draw in: the one given, else for -root the one the host
// named in $XSCREENSAVER_WINDOW, else the root window.
void readHostWindow(const QCommandLineParser& parser, const QString& hostWindowVariable, CommandLine& line)
{
    QString source;
    QString text;
    if (parser.isSet(kWindowId)) {
        source = QStringLiteral("--window-id");
        text = parser.value(kWindowId);
    } else if (!hostWindowVariable.isEmpty()) {
        source = QStringLiteral("XSCREENSAVER_WINDOW");
        text = hostWindowVariable;
    } else {
        return;
    }
    if (const std::optional<std::uint32_t> window = readWindowId(text))
        line.window = *window;
    else
        line.error = noWindowText(source, text);
}

CommandLine readDashSwitches(const QStringList& arguments, const QString& hostWindowVariable)
{
    QStringList words;
    for (const QString& argument : arguments)
        words << withoutPadding(argument);
    QCommandLineParser parser;
    prepare(parser, {QCommandLineOption(kRoot), QCommandLineOption(kWindowId, QString(), QStringLiteral("ID")),
                     QCommandLineOption(kWindow), QCommandLineOption(QStringList{QStringLiteral("h"), kHelp})});
    CommandLine line;
    if (!parser.parse(words)) {
        line.error = parser.errorText();
        return line;
    }
    if (!parser.positionalArguments().isEmpty()) {
        line.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
        return line;
    }
    if (parser.isSet(kHelp)) {
        line.help = true;
        return line;
    }
    const bool hosted = parser.isSet(kRoot) || parser.isSet(kWindowId);
    if (hosted && parser.isSet(kWindow))
        line.error = QStringLiteral("--window draws in a window of its own: it goes with neither --root nor --window-id");
    else if (!hosted && !parser.isSet(kWindow))
        line.error = QStringLiteral("no mode given: --root, --window-id ID or --window");
    if (!line.error.isEmpty())
        return line;

    line.mode = hosted ? Mode::Hosted : Mode::Saver;
    if (hosted)
        readHostWindow(parser, parser.isSet(kRoot) ? hostWindowVariable : QString(), line);
    if (line.error.isEmpty())
        readRunOnly(parser, line);
    return line;
}

} // namespace

std::optional<std::uint32_t> readWindowId(const QString& text)
{
    const QString trimmed = text.trimmed();
    const bool hexadecimal = trimmed.startsWith(QLatin1String("0x"), Qt::CaseInsensitive);
    const QString digits = hexadecimal ? trimmed.mid(2) : trimmed;
    const auto isDigit = [hexadecimal](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
               || (hexadecimal && ((c >= QLatin1Char('a') && c <= QLatin1Char('f')) || (c >= QLatin1Char('A') && c <= QLatin1Char('F'))));
    };
    if (digits.isEmpty() || !std::all_of(digits.begin(), digits.end(), isDigit))
        return std::nullopt;
    bool converted = false;
    const qulonglong value = digits.toULongLong(&converted, hexadecimal ? 16 : 10);
    if (!converted || value == 0 || value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

CommandLine readCommandLine(const QStringList& arguments, const QString& hostWindowVariable)
{
    return usesDashSwitches(arguments) ? readDashSwitches(arguments, hostWindowVariable) : readWindowsSwitches(arguments);
}

std::optional<int> answerWithoutWindows(const CommandLine& commandLine)
{
    if (commandLine.help) {
        std::fputs(qPrintable(helpText()), stdout);
        return 0;
    }
    if (!commandLine.error.isEmpty()) {
        std::fprintf(stderr, "korval: %s\n%s\n", qPrintable(commandLine.error), qPrintable(usageText()));
        return 2;
    }
    switch (commandLine.mode) {
    case Mode::Preview:
    case Mode::PasswordChange:
        return 0;
    case Mode::Unknown:
        std::fprintf(stderr, "%s\n", qPrintable(usageText()));
        return 2;
    case Mode::Configure:
    case Mode::Saver:
    case Mode::Hosted:
        break;
    }
    return std::nullopt;
}

} // namespace korval
