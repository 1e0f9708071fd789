// The built program's answers on the command line that need no window:
// --help works in a terminal without any display, and a switch that names
// no mode ends with the usage text and a failure status.

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#ifndef KORVAL_BINARY
#error "KORVAL_BINARY must name the built program"
#endif

namespace korval {
namespace {

struct Finished {
    int status = -1;
    QString out;
    QString err;
};

Finished runKorval(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(KORVAL_BINARY), arguments);
    Finished run;
    if (!process.waitForFinished(20000)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

TEST(CommandLine, HelpListsTheModesWithoutADisplay)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    for (const char* option : {"--help", "-h"}) {
        const Finished run = runKorval({QString::fromLatin1(option)}, environment);
        EXPECT_EQ(run.status, 0) << option << qPrintable(run.err);
        for (const char* mode : {"/s", "/c", "/p", "--help"})
            EXPECT_TRUE(run.out.contains(QString::fromLatin1(mode))) << option << " lacks " << mode;
    }
}

TEST(CommandLine, UnknownSwitchPrintsTheUsageAndFails)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const Finished run = runKorval({QStringLiteral("/x")}, environment);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains(QStringLiteral("usage: korval"))) << qPrintable(run.err);
    EXPECT_TRUE(run.out.isEmpty());
}

} // namespace
} // namespace korval
