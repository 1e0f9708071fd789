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

#include <algorithm>
#include <csignal>
#include <functional>

namespace korval::e2e {
namespace {

constexpr int kPatienceMs = 10000;

const QByteArray kCommonConfig = "xwayland disable\n"
                                 "default_border none\n"
                                 "focus_follows_mouse no\n";

// The headless outputs, the session's own or the host's.
const QByteArray kHeadlessOutputs = "output HEADLESS-1 resolution 1024x768 position 0 0\n"
                                    "output HEADLESS-2 resolution 800x600 position 1024 0\n";

// The host shows the session's first output (its window titled "wlroots -
// WL-1") on its first output, and every later one on its second, so that
// each takes that output's size.
const QByteArray kHostWindows = "for_window [title=\"WL-1$\"] move to output HEADLESS-1\n"
                                "for_window [title=\"WL-[2-9]$\"] move to output HEADLESS-2\n";

QByteArray nestedOutputs()
{
    QByteArray config = "output WL-1 position 0 0\n";
    for (int number = 2; number <= 9; ++number)
        config += "output WL-" + QByteArray::number(number) + " position 1024 0\n";
    return config;
}

QList<QRect> firstOutputs(int count)
{
    return QList<QRect>{WaylandSession::kFirstOutput, WaylandSession::kSecondOutput}.first(std::min(count, 2));
}

bool handTo(const QString& path, const Account& account)
{
    return ::chown(QFile::encodeName(path).constData(), account.uid, account.gid) == 0;
}

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

bool WaylandSession::hasPointerTool()
{
#ifdef KORVAL_WAYLAND_POINTER
    return true;
#else
    return false;
#endif
}

WaylandSession::WaylandSession(int outputs, Outputs kind)
    : kind_(kind)
{
    if (!folder_.isValid() || !unprivilegedAccount()) {
        error_ = QStringLiteral("no folder or no user to run sway as");
        return;
    }
    QFile::setPermissions(folder_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                              | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QProcessEnvironment backend;
    if (kind == Outputs::Fixed) {
        backend.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
        backend.insert(QStringLiteral("WLR_HEADLESS_OUTPUTS"), QString::number(outputs));
        if (!startCompositor(sway_, QStringLiteral("desktop"), kCommonConfig + kHeadlessOutputs, backend, outputs))
            return;
    } else {
        QProcessEnvironment host;
        host.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("headless"));
        host.insert(QStringLiteral("WLR_HEADLESS_OUTPUTS"), QStringLiteral("2"));
        if (!startCompositor(host_, QStringLiteral("host"), kCommonConfig + kHeadlessOutputs + kHostWindows, host, 2))
            return;
        backend.insert(QStringLiteral("WLR_BACKENDS"), QStringLiteral("wayland"));
        backend.insert(QStringLiteral("WLR_WL_OUTPUTS"), QString::number(outputs));
        backend.insert(QStringLiteral("WAYLAND_DISPLAY"), host_.socket);
        if (!startCompositor(sway_, QStringLiteral("desktop"), kCommonConfig + nestedOutputs(), backend, outputs))
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
    while (!hasInput(QStringLiteral("keyboard")) && !held.hasExpired() && keyboard_.state() != QProcess::NotRunning)
        QThread::msleep(50);
    if (!hasInput(QStringLiteral("keyboard"))) {
        error_ = QStringLiteral("the seat has no keyboard from wtype within %1 ms").arg(kPatienceMs);
        return;
    }
    ready_ = true;
}

// Starts one sway in a folder of its own (its home, holding its
// configuration and its runtime folder, which is that user's alone, as a
// session's is) and waits until it answers on its own socket with the
// outputs at their sizes and places.
bool WaylandSession::startCompositor(Compositor& compositor, const QString& name, const QByteArray& config,
                                     const QProcessEnvironment& backend, int outputs)
{
    const Account account = *unprivilegedAccount();
    const QString home = folder_.filePath(name);
    const QString runtime = home + QStringLiteral("/run");
    QFile file(home + QStringLiteral("/config"));
    if (!QDir(home).mkpath(QStringLiteral("run")) || !file.open(QIODevice::WriteOnly) || file.write(config) < 0) {
        error_ = QStringLiteral("cannot write the compositor's configuration in ") + home;
        return false;
    }
    file.close();
    QFile::setPermissions(home, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                    | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString& path : {folder_.path(), home, runtime, file.fileName()}) {
        if (!handTo(path, account)) {
            error_ = QStringLiteral("cannot hand ") + path + QStringLiteral(" to the compositor's user");
            return false;
        }
    }

    QProcessEnvironment environment = backend;
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("WLR_RENDERER"), QStringLiteral("pixman"));
    environment.insert(QStringLiteral("WLR_LIBINPUT_NO_DEVICES"), QStringLiteral("1"));
    compositor.process.setProcessEnvironment(environment);
    compositor.process.setProcessChannelMode(QProcess::MergedChannels);
    compositor.process.setChildProcessModifier([account] {
        if (::getuid() != account.uid
            && (::setgroups(0, nullptr) != 0 || ::setgid(account.gid) != 0 || ::setuid(account.uid) != 0))
            ::_exit(126);
        // After the change of user, which clears it.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
    compositor.process.start(QStringLiteral("sway"), {QStringLiteral("--config"), file.fileName()});
    if (!compositor.process.waitForStarted(5000)) {
        error_ = QStringLiteral("sway does not start: ") + compositor.process.errorString();
        return false;
    }

    const QList<QRect> wanted = firstOutputs(outputs);
    const QDeadlineTimer deadline(kPatienceMs);
    QList<QRect> shown;
    while (!deadline.hasExpired() && compositor.process.state() == QProcess::Running) {
        const QDir folder(runtime);
        for (const QString& socket : folder.entryList({QStringLiteral("wayland-*")}, QDir::System)) {
            if (!socket.endsWith(QLatin1String(".lock")))
                compositor.socket = folder.filePath(socket);
        }
        const QStringList ipc = folder.entryList({QStringLiteral("sway-ipc.*.sock")}, QDir::System);
        if (!ipc.isEmpty())
            compositor.ipc = folder.filePath(ipc.first());
        shown = compositor.ipc.isEmpty() ? QList<QRect>() : outputRects(compositor);
        if (!compositor.socket.isEmpty() && shown == wanted)
            return true;
        QThread::msleep(50);
    }
    QStringList rects;
    for (const QRect& rect : shown)
        rects << QStringLiteral("%1x%2+%3+%4").arg(rect.width()).arg(rect.height()).arg(rect.x()).arg(rect.y());
    compositor.log += QString::fromLocal8Bit(compositor.process.readAll());
    error_ = QStringLiteral("the %1 sway is not ready with %2 outputs within %3 ms (outputs: %4):\n")
                 .arg(name)
                 .arg(outputs)
                 .arg(kPatienceMs)
                 .arg(rects.join(QLatin1Char(' ')))
             + compositor.log;
    return false;
}

WaylandSession::~WaylandSession()
{
    // The pointer ends at the end of its input.
    if (pointer_.state() != QProcess::NotRunning)
        pointer_.closeWriteChannel();
    for (QProcess* process : {&pointer_, &keyboard_, &sway_.process, &host_.process}) {
        if (process->state() == QProcess::NotRunning)
            continue;
        if (process != &pointer_)
            process->terminate();
        if (!process->waitForFinished(3000)) {
            process->kill();
            process->waitForFinished(3000);
        }
    }
}

QString WaylandSession::outputName(int number) const
{
    return (kind_ == Outputs::Fixed ? QStringLiteral("HEADLESS-") : QStringLiteral("WL-")) + QString::number(number);
}

QProcessEnvironment WaylandSession::clientEnvironment(QProcessEnvironment environment) const
{
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), sway_.socket);
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("XDG_SESSION_TYPE"));
    return environment;
}

QProcessEnvironment WaylandSession::toolEnvironment() const
{
    QProcessEnvironment environment = clientEnvironment(QProcessEnvironment::systemEnvironment());
    environment.insert(QStringLiteral("SWAYSOCK"), sway_.ipc);
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder_.filePath(QStringLiteral("desktop/run")));
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
    return outputsOf(sway_);
}

QJsonArray WaylandSession::outputsOf(const Compositor& compositor) const
{
    QByteArray answer;
    if (compositor.ipc.isEmpty()
        || !run(QStringLiteral("swaymsg"),
                {QStringLiteral("-s"), compositor.ipc, QStringLiteral("-r"), QStringLiteral("-t"),
                 QStringLiteral("get_outputs")},
                &answer))
        return {};
    QJsonArray active;
    for (const QJsonValue output : QJsonDocument::fromJson(answer).array()) {
        if (output[QLatin1String("active")].toBool())
            active << output;
    }
    return active;
}

// The active outputs' rectangles, from left to right.
QList<QRect> WaylandSession::outputRects(const Compositor& compositor) const
{
    QList<QRect> rects;
    for (const QJsonValue output : outputsOf(compositor)) {
        const QJsonValue rect = output[QLatin1String("rect")];
        rects << QRect(rect[QLatin1String("x")].toInt(), rect[QLatin1String("y")].toInt(),
                       rect[QLatin1String("width")].toInt(), rect[QLatin1String("height")].toInt());
    }
    std::sort(rects.begin(), rects.end(), [](const QRect& a, const QRect& b) { return a.x() < b.x(); });
    return rects;
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

QString WaylandSession::addOutput()
{
    QStringList before;
    for (const QJsonValue output : outputs())
        before << output[QLatin1String("name")].toString();
    if (!command({QStringLiteral("create_output")}))
        return {};
    const QDeadlineTimer deadline(kPatienceMs);
    do {
        for (const QJsonValue output : outputs()) {
            const QString name = output[QLatin1String("name")].toString();
            const QJsonValue rect = output[QLatin1String("rect")];
            const QRect place(rect[QLatin1String("x")].toInt(), rect[QLatin1String("y")].toInt(),
                              rect[QLatin1String("width")].toInt(), rect[QLatin1String("height")].toInt());
            if (!before.contains(name) && place == kSecondOutput)
                return name;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return {};
}

// The host closes the output's window, which destroys the output.
bool WaylandSession::removeOutput(const QString& name)
{
    if (kind_ != Outputs::Removable
        || !run(QStringLiteral("swaymsg"),
                {QStringLiteral("-s"), host_.ipc, QStringLiteral("[title=\"") + name + QStringLiteral("$\"]"),
                 QStringLiteral("kill")},
                nullptr))
        return false;
    const QDeadlineTimer deadline(kPatienceMs);
    do {
        const QJsonArray now = outputs();
        if (!now.isEmpty()
            && std::none_of(now.begin(), now.end(),
                            [&](const QJsonValue& output) { return output[QLatin1String("name")].toString() == name; }))
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

bool WaylandSession::keys(const QStringList& wtypeArguments) const
{
    return run(QStringLiteral("wtype"), wtypeArguments, nullptr);
}

bool WaylandSession::hasInput(const QString& type) const
{
    QByteArray answer;
    if (!run(QStringLiteral("swaymsg"), {QStringLiteral("-r"), QStringLiteral("-t"), QStringLiteral("get_inputs")},
             &answer))
        return false;
    for (const QJsonValue input : QJsonDocument::fromJson(answer).array()) {
        if (input[QLatin1String("type")].toString() == type)
            return true;
    }
    return false;
}

bool WaylandSession::addPointer()
{
#ifdef KORVAL_WAYLAND_POINTER
    pointer_.setProcessEnvironment(toolEnvironment());
    pointer_.start(QStringLiteral(KORVAL_WAYLAND_POINTER), {});
    if (!pointer_.waitForStarted(5000))
        return false;
    const QDeadlineTimer deadline(kPatienceMs);
    while (!pointer_.canReadLine() && !deadline.hasExpired() && pointer_.waitForReadyRead(deadline.remainingTime())) {
    }
    if (!pointer_.canReadLine() || pointer_.readLine().trimmed() != "ready")
        return false;
    // The seat has it once sway lists it.
    while (!hasInput(QStringLiteral("pointer")) && !deadline.hasExpired())
        QThread::msleep(50);
    return hasInput(QStringLiteral("pointer"));
#else
    return false;
#endif
}

// Sends one command to the pointer; its answer, or an empty string if it
// gives none in time.
QString WaylandSession::pointer(const QString& command)
{
    if (pointer_.state() != QProcess::Running || pointer_.write(command.toUtf8() + '\n') < 0)
        return {};
    const QDeadlineTimer deadline(kPatienceMs);
    while (!pointer_.canReadLine() && !deadline.hasExpired() && pointer_.waitForReadyRead(deadline.remainingTime())) {
    }
    return pointer_.canReadLine() ? QString::fromUtf8(pointer_.readLine().trimmed()) : QString();
}

// The pointer's absolute places run over the box round every output.
bool WaylandSession::pointTo(const QPoint& point)
{
    QRect layout;
    for (const QRect& rect : outputRects(sway_))
        layout |= rect;
    const QPoint at = point - layout.topLeft();
    return pointer(QStringLiteral("to %1 %2 %3 %4").arg(at.x()).arg(at.y()).arg(layout.width()).arg(layout.height()))
           == QLatin1String("ok");
}

bool WaylandSession::pointBy(int dx, int dy)
{
    return pointer(QStringLiteral("by %1 %2").arg(dx).arg(dy)) == QLatin1String("ok");
}

bool WaylandSession::click()
{
    return pointer(QStringLiteral("click")) == QLatin1String("ok");
}

int WaylandSession::outputsOffered()
{
    const QString answer = pointer(QStringLiteral("outputs"));
    bool number = false;
    const int count = answer.section(QLatin1Char(' '), 1).toInt(&number);
    return answer.startsWith(QLatin1String("outputs ")) && number ? count : -1;
}

QString WaylandSession::log()
{
    sway_.log += QString::fromLocal8Bit(sway_.process.readAll());
    if (kind_ == Outputs::Fixed)
        return sway_.log;
    host_.log += QString::fromLocal8Bit(host_.process.readAll());
    return sway_.log + QStringLiteral("\nthe host sway:\n") + host_.log;
}

} // namespace korval::e2e
