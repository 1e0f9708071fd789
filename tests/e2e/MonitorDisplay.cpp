#include "MonitorDisplay.h"

#include "EndProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <sys/prctl.h>

#include <algorithm>
#include <csignal>
#include <climits>

namespace korval::e2e {
namespace {

constexpr int kStartTimeoutMs = 15000;
constexpr int kToolTimeoutMs = 5000;
constexpr int kChangeTimeoutMs = 5000;


// The server binary itself rather than the Xorg script, which runs the
// set-user-ID wrapper where xserver-xorg-legacy is installed.
QString xorgBinary()
{
    for (const char* path : {"/usr/lib/xorg/Xorg", "/usr/libexec/Xorg"}) {
        if (QFile::exists(QString::fromLatin1(path)))
            return QString::fromLatin1(path);
    }
    return QStandardPaths::findExecutable(QStringLiteral("Xorg"));
}

bool dummyDriverInstalled()
{
    for (const char* folder : {"/usr/lib/xorg/modules/drivers", "/usr/lib64/xorg/modules/drivers",
                               "/usr/local/lib/xorg/modules/drivers", "/usr/lib/x86_64-linux-gnu/xorg/modules/drivers"}) {
        if (QFile::exists(QString::fromLatin1(folder) + QStringLiteral("/dummy_drv.so")))
            return true;
    }
    return false;
}

QString modeName(const QSize& size)
{
    return QStringLiteral("korval-%1x%2").arg(size.width()).arg(size.height());
}

// A mode line of the given size at 60 Hz with short blanking. The dummy
// driver shows any clock, so no size is too large for it.
QStringList modeLine(const QSize& size)
{
    const int w = size.width();
    const int h = size.height();
    const int hTotal = w + 160;
    const int vTotal = h + 30;
    const double clockMHz = double(hTotal) * vTotal * 60 / 1e6;
    QStringList line{QString::number(clockMHz, 'f', 2)};
    for (const int value : {w, w + 48, w + 80, hTotal, h, h + 3, h + 8, vTotal})
        line << QString::number(value);
    return line << QStringLiteral("+hsync") << QStringLiteral("+vsync");
}

// xrandr moves all monitors so that their top left corner is (0, 0).
QList<Monitor> normalized(QList<Monitor> monitors)
{
    if (monitors.isEmpty())
        return monitors;
    int left = INT_MAX;
    int top = INT_MAX;
    for (const Monitor& monitor : monitors) {
        left = std::min(left, monitor.geometry.left());
        top = std::min(top, monitor.geometry.top());
    }
    for (Monitor& monitor : monitors)
        monitor.geometry.translate(-left, -top);
    std::sort(monitors.begin(), monitors.end(), [](const Monitor& a, const Monitor& b) { return a.name < b.name; });
    return monitors;
}

bool sameLayout(const QList<Monitor>& a, const QList<Monitor>& b, bool comparePrimary)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].name != b[i].name || a[i].geometry != b[i].geometry || (comparePrimary && a[i].primary != b[i].primary))
            return false;
    }
    return true;
}

QString describe(const QList<Monitor>& monitors)
{
    QStringList parts;
    for (const Monitor& m : monitors) {
        parts << QStringLiteral("%1%2 %3x%4+%5+%6")
                     .arg(m.name, m.primary ? QStringLiteral("*") : QString())
                     .arg(m.geometry.width())
                     .arg(m.geometry.height())
                     .arg(m.geometry.x())
                     .arg(m.geometry.y());
    }
    return parts.isEmpty() ? QStringLiteral("no monitor") : parts.join(QStringLiteral(", "));
}

QString geometryArgument(const QRect& geometry)
{
    return QStringLiteral("%1x%2").arg(geometry.x()).arg(geometry.y());
}

bool validOutput(const QString& output)
{
    static const QRegularExpression pattern(QStringLiteral("^DUMMY([0-9]|1[0-5])$"));
    return pattern.match(output).hasMatch();
}

} // namespace

void PrintTo(const Monitor& monitor, std::ostream* out)
{
    *out << describe({monitor}).toStdString();
}

QString MonitorDisplay::missingSoftware()
{
    QStringList missing;
    if (xorgBinary().isEmpty())
        missing << QStringLiteral("the X server Xorg (xserver-xorg-core)");
    if (!dummyDriverInstalled())
        missing << QStringLiteral("its dummy video driver (xserver-xorg-video-dummy)");
    if (QStandardPaths::findExecutable(QStringLiteral("xrandr")).isEmpty())
        missing << QStringLiteral("xrandr (x11-xserver-utils)");
    return missing.join(QStringLiteral(", "));
}

MonitorDisplay::MonitorDisplay()
{
    ready_ = start();
}

QString MonitorDisplay::logFile() const
{
    return folder_.filePath(QStringLiteral("Xorg.log"));
}

bool MonitorDisplay::start()
{
    if (!folder_.isValid()) {
        error_ = QStringLiteral("no temporary folder for Xorg");
        return false;
    }
    const QString config = folder_.filePath(QStringLiteral("xorg.conf"));
    if (!QFile::copy(QStringLiteral(KORVAL_XORG_DUMMY_CONF), config)) {
        error_ = QStringLiteral("cannot copy the configuration to ") + config;
        return false;
    }
    // An empty configuration folder: no snippet of the system's applies.
    const QString configFolder = folder_.filePath(QStringLiteral("xorg.conf.d"));
    QDir().mkpath(configFolder);

    // -displayfd 1: the server takes the first free display number itself
    // and writes it to its standard output once it accepts connections.
    // -sharevts -novtswitch: where the machine has virtual terminals, the
    // server neither takes one nor switches to it; where it has none (a
    // container) it needs none.
    server_.setStandardErrorFile(folder_.filePath(QStringLiteral("Xorg.stderr")));
    // A test program that is killed (a CTest time-out) takes its server along.
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    server_.start(xorgBinary(), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-config"), config,
                                 QStringLiteral("-configdir"), configFolder, QStringLiteral("-logfile"), logFile(),
                                 QStringLiteral("-noreset"), QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                                 QStringLiteral("-sharevts"), QStringLiteral("-novtswitch")});
    if (!server_.waitForStarted(5000)) {
        error_ = QStringLiteral("Xorg does not start: ") + server_.errorString();
        return false;
    }
    const QDeadlineTimer deadline(kStartTimeoutMs);
    QByteArray output;
    while (!output.contains('\n') && server_.state() == QProcess::Running && !deadline.hasExpired()) {
        if (server_.waitForReadyRead(int(std::min<qint64>(deadline.remainingTime(), 200))))
            output += server_.readAllStandardOutput();
    }
    bool numbered = false;
    const int number = output.trimmed().toInt(&numbered);
    if (!numbered) {
        // The log's errors, less those of every start (no system bus, no
        // input driver for the default devices); the log goes with the folder.
        static const QRegularExpression usual(
            QStringLiteral(R"re(dbus-core|module "(mouse|kbd|libinput)"|No input driver matching|Please also check|^\(EE\)\s*$)re"));
        static const QRegularExpression stamp(QStringLiteral(R"(^\[\s*[0-9.]+\]\s*)"));
        QFile log(logFile());
        QStringList errors;
        if (log.open(QIODevice::ReadOnly)) {
            for (const QByteArray& bytes : log.readAll().split('\n')) {
                QString line = QString::fromLocal8Bit(bytes).remove(stamp).trimmed();
                if ((line.startsWith(QLatin1String("(EE)")) || line.contains(QLatin1String("Fatal"))) && !line.contains(usual))
                    errors << line.remove(QStringLiteral("(EE)")).trimmed();
            }
        }
        error_ = (server_.state() == QProcess::Running ? QStringLiteral("Xorg gives no display number in time")
                                                        : QStringLiteral("Xorg ended"))
                 + QStringLiteral("; its log says: ") + errors.join(QStringLiteral(" | "));
        server_.kill();
        server_.waitForFinished(3000);
        return false;
    }
    number_ = number;
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("DISPLAY"), name());
    environment_.remove(QStringLiteral("XAUTHORITY"));

    const QList<Monitor> expected{{QStringLiteral("DUMMY0"), kStartGeometry, true}};
    const QList<Monitor> shown = monitors();
    if (shown != expected) {
        error_ = QStringLiteral("Xorg %1 starts with %2 instead of %3 (%4)")
                     .arg(name(), describe(shown), describe(expected), error_);
        return false;
    }
    return true;
}

MonitorDisplay::~MonitorDisplay()
{
    endProcess(server_);
}

std::optional<QString> MonitorDisplay::xrandr(const QStringList& arguments) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment_);
    tool.start(QStringLiteral("xrandr"), arguments);
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished(1000);
        error_ = QStringLiteral("xrandr %1: no answer in time").arg(arguments.join(QLatin1Char(' ')));
        return std::nullopt;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) {
        error_ = QStringLiteral("xrandr %1 fails: %2")
                     .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(tool.readAllStandardError()).trimmed());
        return std::nullopt;
    }
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QList<Monitor> MonitorDisplay::monitors() const
{
    // " 1: +*DUMMY1 1920/508x1080/286+1920+0  DUMMY1"
    static const QRegularExpression line(
        QStringLiteral(R"(^\s*\d+:\s+\+?(\*?)(\S+)\s+(\d+)/\d+x(\d+)/\d+([+-]\d+)([+-]\d+))"));
    QList<Monitor> result;
    const auto listed = xrandr({QStringLiteral("--listmonitors")});
    if (!listed)
        return result;
    for (const QString& text : listed->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const auto match = line.match(text);
        if (!match.hasMatch())
            continue;
        result.append({match.captured(2),
                       QRect(match.captured(5).toInt(), match.captured(6).toInt(), match.captured(3).toInt(),
                             match.captured(4).toInt()),
                       !match.captured(1).isEmpty()});
    }
    std::sort(result.begin(), result.end(), [](const Monitor& a, const Monitor& b) { return a.name < b.name; });
    return result;
}

bool MonitorDisplay::addMode(const QString& output, const QSize& size)
{
    const QString mode = modeName(size);
    if (!modes_.contains(mode)) {
        if (!xrandr(QStringList{QStringLiteral("--newmode"), mode} + modeLine(size)))
            return false;
        modes_.insert(mode);
    }
    const QString pair = output + QLatin1Char(' ') + mode;
    if (!outputModes_.contains(pair)) {
        if (!xrandr({QStringLiteral("--addmode"), output, mode}))
            return false;
        outputModes_.insert(pair);
    }
    return true;
}

bool MonitorDisplay::change(const QStringList& arguments, const QList<Monitor>& expected, bool comparePrimary)
{
    if (!xrandr(arguments))
        return false;
    // xrandr returns once the server has answered; the list is checked
    // anyway, so that a change the server refused or altered shows.
    const QDeadlineTimer deadline(kChangeTimeoutMs);
    QList<Monitor> shown;
    do {
        shown = monitors();
        if (sameLayout(shown, expected, comparePrimary))
            return true;
        QThread::msleep(10);
    } while (!deadline.hasExpired());
    error_ = QStringLiteral("after xrandr %1 the monitors are %2 instead of %3")
                 .arg(arguments.join(QLatin1Char(' ')), describe(shown), describe(expected));
    return false;
}

bool MonitorDisplay::enable(const QString& output, const QRect& geometry)
{
    error_.clear();
    if (!ready_ || !validOutput(output) || geometry.width() <= 0 || geometry.height() <= 0) {
        error_ = QStringLiteral("cannot switch on %1 at %2x%3+%4+%5")
                     .arg(output)
                     .arg(geometry.width())
                     .arg(geometry.height())
                     .arg(geometry.x())
                     .arg(geometry.y());
        return false;
    }
    if (!addMode(output, geometry.size()))
        return false;
    QList<Monitor> expected = monitors();
    expected.removeIf([&](const Monitor& m) { return m.name == output; });
    expected.append({output, geometry, false});
    return change({QStringLiteral("--output"), output, QStringLiteral("--mode"), modeName(geometry.size()),
                   QStringLiteral("--pos"), geometryArgument(geometry)},
                  normalized(expected), false);
}

bool MonitorDisplay::setGeometry(const QString& output, const QRect& geometry)
{
    error_.clear();
    const QList<Monitor> shown = monitors();
    if (std::none_of(shown.begin(), shown.end(), [&](const Monitor& m) { return m.name == output; })) {
        error_ = output + QStringLiteral(" is off");
        return false;
    }
    return enable(output, geometry);
}

bool MonitorDisplay::disable(const QString& output)
{
    error_.clear();
    if (!ready_ || !validOutput(output)) {
        error_ = QStringLiteral("cannot switch off ") + output;
        return false;
    }
    QList<Monitor> expected = monitors();
    expected.removeIf([&](const Monitor& m) { return m.name == output; });
    return change({QStringLiteral("--output"), output, QStringLiteral("--off")}, normalized(expected), false);
}

bool MonitorDisplay::setPrimary(const QString& output)
{
    error_.clear();
    QList<Monitor> expected = monitors();
    if (!ready_ || std::none_of(expected.begin(), expected.end(), [&](const Monitor& m) { return m.name == output; })) {
        error_ = QStringLiteral("cannot make %1 primary: it is off").arg(output);
        return false;
    }
    for (Monitor& monitor : expected)
        monitor.primary = monitor.name == output;
    return change({QStringLiteral("--output"), output, QStringLiteral("--primary")}, expected, true);
}

} // namespace korval::e2e
