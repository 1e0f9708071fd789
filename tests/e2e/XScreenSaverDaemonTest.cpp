// The program under the real XScreenSaver daemon, set up as the README tells
// a user to: "korval --root" in the programs list of ~/.xscreensaver.
// Activated, the rain fills the screen; deactivated, the program has ended.
// The daemon refuses to run as root, so a test run as root starts it as the
// unprivileged user that scripts/install-deps.sh makes.

#include "TestAccount.h"
#include "WholeProgramTest.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <optional>

namespace korval::e2e {
namespace {

// The processes running the given program file.
QList<qint64> processesOf(const QString& program)
{
    QList<qint64> found;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isProcess = false;
        const qint64 pid = entry.toLongLong(&isProcess);
        if (isProcess && QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(pid)) == program)
            found << pid;
    }
    return found;
}

// A sanitizer build names its suppressions file by a path the daemon's user
// may not be allowed to read; a copy in the test's folder is.
QString withReadableSuppressions(QString options, const QString& folder)
{
    static const QRegularExpression suppressions(QStringLiteral("suppressions=([^:]+)"));
    const QRegularExpressionMatch match = suppressions.match(options);
    if (!match.hasMatch())
        return options;
    const QString copy = folder + QStringLiteral("/sanitizer.supp");
    QFile::remove(copy);
    QFile::copy(match.captured(1), copy);
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    return options.replace(match.capturedStart(1), match.capturedLength(1), copy);
}

class XScreenSaverDaemonTest : public WholeProgramTest {
protected:
    void SetUp() override
    {
        for (const char* tool : {"xscreensaver", "xscreensaver-command"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
        }
        account_ = unprivilegedAccount();
        if (!account_)
            GTEST_SKIP() << "no user " << kTestUser << " to run the daemon as (scripts/install-deps.sh makes it)";
        WholeProgramTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        ASSERT_TRUE(folder_.isValid());
        ASSERT_TRUE(prepareHome());
    }

    void TearDown() override
    {
        if (daemon_.state() == QProcess::NotRunning)
            return;
        command(QStringLiteral("-exit"));
        daemon_.terminate();
        if (!daemon_.waitForFinished(3000)) {
            daemon_.kill();
            daemon_.waitForFinished(3000);
        }
    }

    // A home of the daemon user's own, holding ~/.xscreensaver, and the
    // program copied where that user may run it.
    bool prepareHome()
    {
        const QString root = folder_.path();
        QFile::setPermissions(root, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                        | QFile::ExeOther | QFile::ReadGroup | QFile::ExeGroup);
        if (!QDir(root).mkpath(QStringLiteral("bin")) || !QDir(root).mkpath(QStringLiteral("home/run"))
            || !QFile::copy(QStringLiteral(KORVAL_BINARY), program()))
            return false;
        QFile settings(home() + QStringLiteral("/.xscreensaver"));
        if (!settings.open(QIODevice::WriteOnly))
            return false;
        settings.write("mode:\t\tone\n"
                       "selected:\t0\n"
                       "timeout:\t1:00:00\n"
                       "cycle:\t\t0:00:00\n"
                       "lock:\t\tFalse\n"
                       "fade:\t\tFalse\n"
                       "unfade:\t\tFalse\n"
                       "splash:\t\tFalse\n"
                       "dpmsEnabled:\tFalse\n"
                       "programs:\tkorval --root \\n\n");
        settings.close();
        const QString runtime = home() + QStringLiteral("/run");
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        for (const QString& path : {home(), runtime, settings.fileName()}) {
            if (::chown(QFile::encodeName(path).constData(), account_->uid, account_->gid) != 0)
                return false;
        }
        return true;
    }

    QString home() const { return folder_.path() + QStringLiteral("/home"); }
    QString program() const { return folder_.path() + QStringLiteral("/bin/korval"); }

    QProcessEnvironment daemonEnvironment() const
    {
        const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DISPLAY"), this->environment().value(QStringLiteral("DISPLAY")));
        environment.insert(QStringLiteral("HOME"), home());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home() + QStringLiteral("/run"));
        environment.insert(QStringLiteral("PATH"), folder_.path() + QStringLiteral("/bin:/usr/bin:/bin"));
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        for (const char* name : {"ASAN_OPTIONS", "LSAN_OPTIONS", "UBSAN_OPTIONS"}) {
            const QString key = QString::fromLatin1(name);
            if (system.contains(key))
                environment.insert(key, withReadableSuppressions(system.value(key), folder_.path()));
        }
        return environment;
    }

    bool startDaemon()
    {
        const Account account = *account_;
        daemon_.setProcessEnvironment(daemonEnvironment());
        daemon_.setProcessChannelMode(QProcess::MergedChannels);
        daemon_.setChildProcessModifier([account] {
            if (::getuid() != account.uid
                && (::setgroups(0, nullptr) != 0 || ::setgid(account.gid) != 0 || ::setuid(account.uid) != 0))
                ::_exit(126);
            // After the change of user, which clears it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        });
        daemon_.start(QStringLiteral("xscreensaver"), {QStringLiteral("--no-splash"), QStringLiteral("--verbose")});
        if (!daemon_.waitForStarted(5000))
            return false;
        // It answers once it watches the display.
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            if (daemon_.state() == QProcess::NotRunning)
                return false;
            if (command(QStringLiteral("-time")))
                return true;
            QThread::msleep(100);
        }
        return false;
    }

    bool command(const QString& request)
    {
        QProcess tool;
        tool.setProcessEnvironment(environment());
        tool.start(QStringLiteral("xscreensaver-command"), {request});
        return tool.waitForFinished(5000) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
    }

    // What the daemon has written so far (its own lines and its programs').
    QString daemonLog()
    {
        while (daemon_.waitForReadyRead(200)) {
        }
        return QString::fromLocal8Bit(daemon_.readAll());
    }

    std::optional<Account> account_;
    QTemporaryDir folder_;
    QProcess daemon_;
};

TEST_F(XScreenSaverDaemonTest, ActivatedTheRainFillsTheScreenDeactivatedTheProgramHasEnded)
{
    QString log;
    // Every failure shows what the daemon and the program said so far.
    const auto said = [&] { return (log += daemonLog()).toStdString(); };
    ASSERT_TRUE(startDaemon()) << said();
    ASSERT_TRUE(command(QStringLiteral("-activate"))) << said();

    const QRect screen(0, 0, VirtualDisplay::kWidth, VirtualDisplay::kHeight);
    const QImage shown = desktop->waitForRain(screen, 100, 10000);
    ASSERT_FALSE(shown.isNull()) << "no screenshot\n" << said();
    EXPECT_GE(greenInEachQuarter(shown, screen), 100) << said();
    EXPECT_EQ(processesOf(program()).size(), 1) << "one program for the one screen\n" << said();

    // How soon the program goes is checked where the test sends the signal
    // itself (HostWindowTest); here the daemon may take its time.
    ASSERT_TRUE(command(QStringLiteral("-deactivate"))) << said();
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    while (!processesOf(program()).isEmpty() && !deadline.hasExpired())
        QThread::msleep(50);
    EXPECT_TRUE(processesOf(program()).isEmpty()) << "still running after the host ended it\n" << said();
    said();
    EXPECT_FALSE(log.contains(QLatin1String("korval:"))) << "the program reported an error\n" << log.toStdString();
}

} // namespace
} // namespace korval::e2e
