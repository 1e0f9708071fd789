#include "WaylandSession.h"

#include "TestAccount.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QThread>

#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <csignal>
#include <functional>

namespace korval::e2e {
namespace {

constexpr int kPatienceMs = 10000;

const char* const kConfig = "xwayland disable\n"
                            "default_border none\n"
                            "focus_follows_mouse no\n"
                            "output HEADLESS-1 resolution 1024x768 position 0 0\n"
                            "output HEADLESS-2 resolution 800x600 position 1024 0\n";

} // namespace

QString WaylandSession::missingTool()
{
    for (const char* tool : {"sway", "swaymsg", "grim", "wtype"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            return QString::fromLatin1(tool);
    }
    return {};
}

bool WaylandSession::hasUser()
{
    return unprivilegedAccount().has_value();
}

WaylandSession::WaylandSession(int outputs)
{
    const std::optional<Account> account = unprivilegedAccount();
    if (!folder_.isValid() || !account) {
        error_ = QStringLiteral("no folder or no user to run sway as");
        return;
    }
    // The folder is the compositor user's home; its runtime folder is that
    // user's alone, as a session's is.
    const QString home = folder_.path();
    const QString runtime = home + QStringLiteral("/run");
    QFile config(home + QStringLiteral("/config"));
    if (!QDir(home).mkpath(QStringLiteral("run")) || !config.open(QIODevice::WriteOnly) || config.write(kConfig) < 0) {
        error_ = QStringLiteral("cannot write the compositor's configuration in ") + home;
        return;
    }
    config.close();
    QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString& path : {home, runtime, config.fileName()}) {
        if (::chown(QFile::encodeName(path).constData(), account->uid, account->gid) != 0) {
            error_ = QStringLiteral("cannot hand ") + path + QStringLiteral(" to the compositor's user");
            return;
        }
    }

    QProcessEnvironment environment;
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    environment.insert(QStringLiteral("WLR_HEADLESS_OUTPUTS"), QString::number(outputs));
    sway_.setProcessEnvironment(environment);
    sway_.setProcessChannelMode(QProcess::MergedChannels);
    const Account user = *account;
    sway_.setChildProcessModifier([user] {
        if (::getuid() != user.uid
            && (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0))
            ::_exit(126);
        // After the change of user, which clears it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    sway_.start(QStringLiteral("sway"), {QStringLiteral("--config"), config.fileName()});
    if (!sway_.waitForStarted(5000)) {
        error_ = QStringLiteral("sway does not start: ") + sway_.errorString();
        return;
    }

    // It is ready once its display's socket is there and it answers on its
    // own socket with every output on.
    const QDeadlineTimer deadline(kPatienceMs);
    while (!deadline.hasExpired() && sway_.state() == QProcess::Running) {
        const QDir folder(runtime);
        const QStringList displays = folder.entryList({QStringLiteral("wayland-*")}, QDir::System);
        const QStringList ipc = folder.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        for (const QString& name : displays) {
            if (!name.endsWith(QLatin1String(".lock")))
                socket_ = folder.filePath(name);
        }
        if (!ipc.isEmpty())
            ipcSocket_ = folder.filePath(ipc.first());
        if (!socket_.isEmpty() && !ipcSocket_.isEmpty() && this->outputs().size() == outputs)
            break;
        QThread::msleep(50);
    }
    if (socket_.isEmpty() || ipcSocket_.isEmpty() || this->outputs().size() != outputs) {
        error_ = QStringLiteral("sway is not ready with %1 outputs within %2 ms:\n").arg(outputs).arg(kPatienceMs) + log();
        return;
    }

    // Each wtype makes a virtual keyboard and takes it away again when it
    // ends. Were it the seat's only keyboard, every client would lose its
    // keyboard with it and bind a new one when the next wtype comes, too
    // late for that one's keys. A keyboard held for the whole session keeps
    // the seat's keyboard, and the clients', from before the first client.
    keyboard_.setProcessEnvironment(toolEnvironment());
    keyboard_.start(QStringLiteral("wtype"), {QStringLiteral("-s"), QStringLiteral("86400000")});
    const QDeadlineTimer held(kPatienceMs);
    while (!hasKeyboard() && !held.hasExpired() && keyboard_.state() != QProcess::NotRunning)
        QThread::msleep(50);
    if (!hasKeyboard()) {
        error_ = QStringLiteral("the seat has no keyboard from wtype within %1 ms").arg(kPatienceMs);
        return;
    }
    ready_ = true;
}

WaylandSession::~WaylandSession()
{
    for (QProcess* process : {&keyboard_, &sway_}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

QProcessEnvironment WaylandSession::clientEnvironment(QProcessEnvironment environment) const
{
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), socket_);
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
    return environment;
}

QProcessEnvironment WaylandSession::toolEnvironment() const
{
    QProcessEnvironment environment = clientEnvironment(QProcessEnvironment::systemEnvironment());
    environment.insert(QStringLiteral("SWAYSOCK"), ipcSocket_);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.path() + QStringLiteral("/run"));
    return environment;
}

bool WaylandSession::run(const QString& program, const QStringList& arguments, QByteArray* output) const
{
    QProcess tool;
    tool.setProcessEnvironment(toolEnvironment());
    tool.start(program, arguments);
    if (!tool.waitForFinished(5000) || tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        tool.kill();
        tool.waitForFinished(1000);
        return false;
    }
    if (output)
        *output = tool.readAllStandardOutput();
    return true;
}

QImage WaylandSession::screenshot() const
{
    QByteArray png;
    if (!run(QStringLiteral("grim"), {QStringLiteral("-t"), QStringLiteral("ppm"), QStringLiteral("-")}, &png))
        return {};
    return QImage::fromData(png, "PPM").convertToFormat(QImage::Format_RGB32);
}

QJsonArray WaylandSession::outputs() const
{
    QByteArray answer;
    if (ipcSocket_.isEmpty()
        || !run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_outputs")},
                &answer))
        return {};
    QJsonArray active;
    for (const QJsonValue output : QJsonDocument::fromJson(answer).array()) {
        if (output[QLatin1String("active")].toBool())
            active << output;
    }
    return active;
}

QStringList WaylandSession::windows() const
{
    QByteArray answer;
    if (!run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_tree")}, &answer))
        return {};
    QStringList found;
    // Windows are the nodes that have a process; each lies under its output.
    const std::function<void(const QJsonObject&, const QString&)> visit = [&](const QJsonObject& node,
                                                                              QString output) {
        if (node[QLatin1String("type")].toString() == QLatin1String("output"))
            output = node[QLatin1String("name")].toString();
        if (node.contains(QLatin1String("pid"))) {
            const bool fullscreen = node[QLatin1String("fullscreen_mode")].toInt() != 0;
            found << node[QLatin1String("name")].toString() + QLatin1Char('@') + output
                         + (fullscreen ? QStringLiteral(" fullscreen") : QString());
        }
        for (const char* children : {"nodes", "floating_nodes"}) {
            for (const QJsonValue child : node[QLatin1String(children)].toArray())
                visit(child.toObject(), output);
        }
    };
    visit(QJsonDocument::fromJson(answer).object(), {});
    found.sort();
    return found;
}

bool WaylandSession::command(const QStringList& arguments) const
{
    return run(QStringLiteral("swaymsg"), arguments, nullptr);
}

bool WaylandSession::keys(const QStringList& wtypeArguments) const
{
    return run(QStringLiteral("wtype"), wtypeArguments, nullptr);
}

bool WaylandSession::hasKeyboard() const
{
    QByteArray answer;
    if (!run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_inputs")},
             &answer))
        return false;
    for (const QJsonValue input : QJsonDocument::fromJson(answer).array()) {
        if (input[QLatin1String("type")].toString() == QLatin1String("keyboard"))
            return true;
    }
    return false;
}

QString WaylandSession::log()
{
    log_ += QString::fromLocal8Bit(sway_.readAll());
    return log_;
}

} // namespace korval::e2e
