// The files that hand korval to the screen-saver hosts: each must start it
// with a command line it accepts, in the mode the host needs.

#include "app/CommandLine.h"
#include "core/options/DialogFields.h"
#include "core/settings/SettingKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace korval {
namespace {

QString dataFile(const char* name)
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../data/") + QString::fromLatin1(name);
}

// What XScreenSaver's description gives its settings dialog to build the
// command line from.
struct XmlDescription {
    QString name;
    QString command;
    QStringList sizeArguments;    // each size option's arg-set; "" for the stored size
    QMap<QString, QXmlStreamAttributes> numbers; // by id
};

XmlDescription readDescription()
{
    XmlDescription description;
    QFile file(dataFile("korval.xml"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes attributes = xml.attributes();
        if (xml.name() == QLatin1String("screensaver"))
            description.name = attributes.value(QLatin1String("name")).toString();
        else if (xml.name() == QLatin1String("command"))
            description.command = attributes.value(QLatin1String("arg")).toString();
        else if (xml.name() == QLatin1String("option"))
            description.sizeArguments << attributes.value(QLatin1String("arg-set")).toString();
        else if (xml.name() == QLatin1String("number"))
            description.numbers[attributes.value(QLatin1String("id")).toString()] = attributes;
    }
    EXPECT_FALSE(xml.hasError()) << qPrintable(xml.errorString());
    return description;
}

// The command line as XScreenSaver's settings dialog runs it in its preview.
CommandLine previewRun(const QString& command, const QString& extra)
{
    QStringList arguments{QStringLiteral("korval")};
    arguments << command.split(QLatin1Char(' '), Qt::SkipEmptyParts) << extra.split(QLatin1Char(' '), Qt::SkipEmptyParts)
              << QStringLiteral("--window-id") << QStringLiteral("0x400EE5");
    return readCommandLine(arguments, QString());
}

TEST(XScreenSaverDescription, EveryChoiceMakesACommandLineForTheHostsWindow)
{
    const XmlDescription description = readDescription();
    EXPECT_EQ(description.name, QStringLiteral("korval")) << "the name of the program the programs list runs";

    QStringList sizes;
    for (const QString& sizeArgument : description.sizeArguments) {
        const CommandLine line = previewRun(description.command, sizeArgument);
        EXPECT_TRUE(line.error.isEmpty()) << qPrintable(sizeArgument) << ": " << qPrintable(line.error);
        EXPECT_EQ(line.mode, Mode::Hosted);
        EXPECT_EQ(line.window, 0x400EE5u);
        if (!line.runOnly.isEmpty())
            sizes << line.runOnly.front().second;
    }
    QStringList dialogSizes;
    for (QLatin1StringView size : kFontSizes)
        dialogSizes << QString(size);
    EXPECT_EQ(sizes, dialogSizes) << "the sizes of korval's own dialog";

    const std::pair<const char*, const settings::SettingKey*> cellSizes[] = {{"cell-width", &settings::kWidth},
                                                                             {"cell-height", &settings::kHeight}};
    for (const auto& [id, key] : cellSizes) {
        ASSERT_TRUE(description.numbers.contains(QString::fromLatin1(id))) << id;
        const QXmlStreamAttributes& number = description.numbers[QString::fromLatin1(id)];
        EXPECT_EQ(number.value(QLatin1String("default")).toInt(), key->saverDefault) << id;
        for (const char* bound : {"low", "high", "default"}) {
            const QString value = number.value(QLatin1String(bound)).toString();
            const CommandLine line = previewRun(description.command, number.value(QLatin1String("arg")).toString().replace(QLatin1Char('%'), value));
            EXPECT_TRUE(line.error.isEmpty()) << id << " " << bound << ": " << qPrintable(line.error);
            EXPECT_EQ(line.runOnly, (SettingEntries{{QString(key->name), value}})) << id << " " << bound;
        }
    }
}

TEST(MateScreensaverEntry, RunsTheRainInTheHostsWindow)
{
    QSettings entry(dataFile("korval.desktop"), QSettings::IniFormat);
    entry.beginGroup(QStringLiteral("Desktop Entry"));
    const QStringList exec = entry.value(QStringLiteral("Exec")).toString().split(QLatin1Char(' '));
    EXPECT_EQ(exec.first(), QStringLiteral("korval"));
    const CommandLine line = readCommandLine(exec, QStringLiteral("0x600008"));
    EXPECT_EQ(line.mode, Mode::Hosted);
    EXPECT_EQ(line.window, 0x600008u);
    EXPECT_EQ(entry.value(QStringLiteral("TryExec")).toString(), QStringLiteral("korval"));
    EXPECT_EQ(entry.value(QStringLiteral("Type")).toString(), QStringLiteral("Application"));
    // QSettings reads "Screensaver;" as a list of one.
    EXPECT_TRUE(entry.value(QStringLiteral("Categories")).toString().startsWith(QLatin1String("Screensaver")));
}

TEST(XsecurelockModule, IsAnExecutableThatRunsTheRainInTheHostsWindow)
{
    QFile module(dataFile("saver_korval"));
    ASSERT_TRUE(module.open(QIODevice::ReadOnly));
    EXPECT_TRUE(module.permissions().testFlag(QFile::ExeOther));
    const QStringList lines = QString::fromUtf8(module.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.first(), QStringLiteral("#!/bin/sh"));
    const QStringList exec = lines.last().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_EQ(exec.first(), QStringLiteral("exec"));
    const CommandLine line = readCommandLine(exec.mid(1), QStringLiteral("6291464"));
    EXPECT_EQ(line.mode, Mode::Hosted);
    EXPECT_EQ(line.window, 0x600008u);
}

TEST(ManPage, RendersWithoutWarningsAndNamesEverySwitch)
{
    if (QStandardPaths::findExecutable(QStringLiteral("man")).isEmpty())
        GTEST_SKIP() << "man is not installed (scripts/install-deps.sh installs man-db)";
    QProcess man;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    man.setProcessEnvironment(environment);
    man.start(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), dataFile("korval.1")});
    ASSERT_TRUE(man.waitForFinished(20000));
    EXPECT_EQ(man.exitCode(), 0);
    EXPECT_EQ(man.readAllStandardError(), QByteArray()) << "groff's warnings";
    const QString page = QString::fromUtf8(man.readAllStandardOutput());
    for (const char* part : {"/s", "/c", "/p", "--help", "--root", "--window-id", "--window", "--text-size",
                             "--cell-width", "--cell-height", "--banner", "--no-banner", "XSCREENSAVER_WINDOW",
                             "KORVAL.ini", "EXIT STATUS", "SIGTERM"})
        EXPECT_TRUE(page.contains(QString::fromLatin1(part))) << part;
}

} // namespace
} // namespace korval
