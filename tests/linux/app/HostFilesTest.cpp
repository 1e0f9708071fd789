// The files that hand korval to the screen-saver hosts: each must start it
// with a command line it accepts, in the mode the host needs.

#include "app/CommandLine.h"
#include "app/Usage.h"
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
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/../../../data/") + QString::fromLatin1(name);
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
        if (!line.runOnly.empty())
            sizes << QString::fromStdString(line.runOnly.front().second);
    }
    QStringList dialogSizes;
    for (std::string_view size : kFontSizes)
        dialogSizes << QString::fromUtf8(size.data(), qsizetype(size.size()));
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
            EXPECT_EQ(line.runOnly, (SettingEntries{{std::string(key->name), value.toStdString()}})) << id << " " << bound;
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

// The man page as man shows it, on one line per paragraph as far as it can
// (80 columns); groff's warnings fail the test.
QString renderedManPage()
{
    QProcess man;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
    man.setProcessEnvironment(environment);
    man.start(QStringLiteral("man"), {QStringLiteral("--warnings"), QStringLiteral("-l"), dataFile("korval.1")});
    EXPECT_TRUE(man.waitForFinished(20000));
    EXPECT_EQ(man.exitCode(), 0);
    EXPECT_EQ(man.readAllStandardError(), QByteArray()) << "groff's warnings";
    return QString::fromUtf8(man.readAllStandardOutput());
}

TEST(ManPage, RendersWithoutWarningsAndNamesEverySwitch)
{
    if (QStandardPaths::findExecutable(QStringLiteral("man")).isEmpty())
        GTEST_SKIP() << "man is not installed (scripts/install-deps.sh installs man-db)";
    const QString page = renderedManPage();
    for (const char* part : {"/s", "/c", "/p", "--help", "--root", "--window-id", "--window", "--text-size",
                             "--cell-width", "--cell-height", "--banner", "--no-banner", "XSCREENSAVER_WINDOW",
                             "KORVAL.ini", "EXIT STATUS", "SIGTERM"})
        EXPECT_TRUE(page.contains(QString::fromLatin1(part))) << part;
}

struct Checked {
    int status = -1;
    QString output;
};

// A checker run on files of data/, its standard output and error together.
Checked runChecker(const QString& program, const QStringList& options, const QStringList& files)
{
    QStringList arguments = options;
    for (const QString& file : files)
        arguments << dataFile(qPrintable(file));
    QProcess checker;
    checker.setProcessChannelMode(QProcess::MergedChannels);
    checker.start(program, arguments);
    if (!checker.waitForFinished(60000))
        return {};
    return {checker.exitStatus() == QProcess::NormalExit ? checker.exitCode() : -1,
            QString::fromUtf8(checker.readAll())};
}

// Software centres list the package from its metainfo: AppStream's checker
// accepts it, with no warning either, and it names the options' menu entry
// and the licence the copyright file gives.
TEST(SoftwareCentres, MetainfoPassesAppStreamAndNamesTheMenuEntryAndLicence)
{
    if (QStandardPaths::findExecutable(QStringLiteral("appstreamcli")).isEmpty())
        GTEST_SKIP() << "appstreamcli is not installed (scripts/install-deps.sh installs appstream)";
    const QString metainfo = QStringLiteral("org.korval.korval.metainfo.xml");
    const Checked checked = runChecker(QStringLiteral("appstreamcli"),
                                       {QStringLiteral("validate"), QStringLiteral("--no-net"), QStringLiteral("--strict")},
                                       {metainfo});
    EXPECT_EQ(checked.status, 0) << qPrintable(checked.output);

    QFile file(dataFile(qPrintable(metainfo)));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QMap<QString, QString> texts;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement
            && QStringList{"id", "launchable", "project_license"}.contains(xml.name().toString()))
            texts[xml.name().toString()] = xml.readElementText();
    }
    EXPECT_EQ(texts.value(QStringLiteral("id")) + QStringLiteral(".metainfo.xml"), metainfo);
    EXPECT_TRUE(QFile::exists(dataFile(qPrintable(texts.value(QStringLiteral("launchable"))))));
    EXPECT_EQ(texts.value(QStringLiteral("launchable")), QStringLiteral("korval-options.desktop"));

    QFile copyrightFile(dataFile("copyright"));
    ASSERT_TRUE(copyrightFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(copyrightFile.readAll().contains("\nLicense: " + texts.value(QStringLiteral("project_license")).toUtf8() + "\n"))
        << "the metainfo's licence is the copyright file's";
}

// Both menu entries pass the desktop-entry checker without an error or a
// warning (its hints, such as the MATE entry's category of its own, remain).
TEST(SoftwareCentres, MenuEntriesPassTheDesktopEntryChecker)
{
    if (QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed (scripts/install-deps.sh installs desktop-file-utils)";
    const Checked checked = runChecker(QStringLiteral("desktop-file-validate"), {},
                                       {QStringLiteral("korval-options.desktop"), QStringLiteral("korval.desktop")});
    EXPECT_EQ(checked.status, 0) << qPrintable(checked.output);
    EXPECT_FALSE(checked.output.contains(QLatin1String("error:"))) << qPrintable(checked.output);
    EXPECT_FALSE(checked.output.contains(QLatin1String("warning:"))) << qPrintable(checked.output);
}

// /s covers every monitor; a text that still says the primary screen
// sends users looking for a setting that does not exist.
TEST(SaverModeTexts, SayEveryMonitorInTheHelpAndTheManPage)
{
    QStringList texts{helpText()};
    if (!QStandardPaths::findExecutable(QStringLiteral("man")).isEmpty())
        texts << renderedManPage().simplified();
    for (const QString& text : texts) {
        EXPECT_FALSE(text.contains(QLatin1String("primary screen"))) << qPrintable(text);
        EXPECT_TRUE(text.contains(QLatin1String("every monitor"))) << qPrintable(text);
    }
}

} // namespace
} // namespace korval
