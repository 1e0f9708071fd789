// The built program's answers on the command line that need no window:
// they come before Qt looks for a display and before the instance lock is
// taken, so they work in a terminal without a display and never keep a
// saver started at the same moment from running.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

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

struct AnswerRow {
    const char* name;
    QStringList arguments;
    int status;
    const char* out; // what standard output holds, or nullptr for nothing
    const char* err; // what standard error holds, or nullptr for nothing
};

class AnswerWithoutADisplay : public ::testing::TestWithParam<AnswerRow> {};

TEST_P(AnswerWithoutADisplay, EndsWithItsStatusAndLeavesNoLock)
{
    const AnswerRow& row = GetParam();
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

    const Finished run = runKorval(row.arguments, environment);
    EXPECT_EQ(run.status, row.status) << qPrintable(run.err);
    if (row.out)
        EXPECT_TRUE(run.out.contains(QString::fromLatin1(row.out))) << qPrintable(run.out);
    else
        EXPECT_TRUE(run.out.isEmpty()) << qPrintable(run.out);
    if (row.err)
        EXPECT_TRUE(run.err.contains(QString::fromLatin1(row.err))) << qPrintable(run.err);
    else
        EXPECT_TRUE(run.err.isEmpty()) << qPrintable(run.err);
    EXPECT_TRUE(QDir(runtime.path()).isEmpty()) << "no instance lock was taken";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, AnswerWithoutADisplay,
    ::testing::Values(AnswerRow{"help", {QStringLiteral("--help")}, 0, "/s", nullptr},
                      AnswerRow{"shortHelp", {QStringLiteral("-h")}, 0, "/c", nullptr},
                      AnswerRow{"preview", {QStringLiteral("/p"), QStringLiteral("4242")}, 0, nullptr, nullptr},
                      AnswerRow{"previewInCapitals", {QStringLiteral(" /P ")}, 0, nullptr, nullptr},
                      AnswerRow{"passwordChange", {QStringLiteral("/a")}, 0, nullptr, nullptr},
                      AnswerRow{"unknownSwitch", {QStringLiteral("/x")}, 2, nullptr, "usage: korval"},
                      AnswerRow{"hostsHelp", {QStringLiteral("-help")}, 0, "--window-id", nullptr},
                      AnswerRow{"windowIdNotANumber", {QStringLiteral("-window-id"), QStringLiteral("abc")}, 2, nullptr,
                                "korval: --window-id 'abc' names no window"},
                      AnswerRow{"unknownDashSwitch", {QStringLiteral("--frobnicate")}, 2, nullptr, "usage: korval"},
                      AnswerRow{"saverWithAnUnknownSwitch", {QStringLiteral("/s"), QStringLiteral("-x")}, 2, nullptr,
                                "usage: korval"},
                      AnswerRow{"rootWithoutADisplay", {QStringLiteral("--root")}, 1, nullptr,
                                "korval: cannot open the X display"}),
    [](const auto& info) { return std::string(info.param.name); });

// A display number no X server listens on.
QString displayWithoutAServer()
{
    int number = 87;
    while (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(number))
           || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(number)))
        ++number;
    return QStringLiteral(":%1").arg(number);
}

struct NoDisplayRow {
    const char* name;
    const char* mode;
    bool platformVariable; // QT_QPA_PLATFORM=xcb and a display without a server; else neither is set
    bool deadWayland = false; // WAYLAND_DISPLAY names a socket nobody listens on
};

class NoUsableDisplay : public ::testing::TestWithParam<NoDisplayRow> {};

// Qt's X11 platform aborts the program where it finds no display (status
// 134 and a core dump); the program looks first and says so.
TEST_P(NoUsableDisplay, EndsWithStatusOneAndOneLineOnStandardError)
{
    const NoDisplayRow& row = GetParam();
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
    environment.remove(QStringLiteral("XSCREENSAVER_WINDOW"));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    if (row.platformVariable) {
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.insert(QStringLiteral("DISPLAY"), displayWithoutAServer());
    } else {
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.remove(QStringLiteral("DISPLAY"));
    }
    if (row.deadWayland)
        environment.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wayland-nobody"));

    const Finished run = runKorval({QString::fromLatin1(row.mode)}, environment);
    EXPECT_EQ(run.status, 1) << qPrintable(run.err);
    EXPECT_TRUE(run.err.startsWith(QLatin1String("korval: cannot open the X display"))) << qPrintable(run.err);
    if (row.deadWayland) {
        EXPECT_TRUE(run.err.contains(QLatin1String("cannot open the Wayland display 'wayland-nobody'")))
            << qPrintable(run.err);
    }
    EXPECT_EQ(run.err.count(QLatin1Char('\n')), 1) << "one line: " << qPrintable(run.err);
    EXPECT_TRUE(QDir(runtime.path()).isEmpty()) << "no instance lock was taken";
}

INSTANTIATE_TEST_SUITE_P(CommandLine, NoUsableDisplay,
                         ::testing::Values(NoDisplayRow{"saverOnX11", "/s", true},
                                           NoDisplayRow{"dialogOnX11", "/c", true},
                                           NoDisplayRow{"rootOnX11", "--root", true},
                                           NoDisplayRow{"saverWithoutDisplay", "/s", false},
                                           NoDisplayRow{"dialogWithoutDisplay", "/c", false},
                                           NoDisplayRow{"saverWithADeadWaylandSocket", "/s", false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLine, HelpListsEveryMode)
{
    const Finished run = runKorval({QStringLiteral("--help")}, QProcessEnvironment::systemEnvironment());
    for (const char* mode : {"/s", "/c", "/p", "--help", "--root", "--window-id", "--window", "XSCREENSAVER_WINDOW",
                             "--text-size", "--cell-width", "--cell-height", "--banner", "--no-banner"})
        EXPECT_TRUE(run.out.contains(QString::fromLatin1(mode))) << "lacks " << mode;
}

} // namespace
} // namespace korval
