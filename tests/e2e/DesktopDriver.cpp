#include "DesktopDriver.h"

#include "GlyphPixels.h"

#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#ifndef KORVAL_SCREEN_GRAB
#error "KORVAL_SCREEN_GRAB must name the screenshot helper"
#endif

namespace korval::e2e {
namespace {

constexpr int kToolTimeoutMs = 5000;

} // namespace

DesktopDriver::DesktopDriver(QProcessEnvironment environment) : environment_(std::move(environment)) {}

std::optional<QString> DesktopDriver::run(const QString& program, const QStringList& arguments) const
{
    QProcess tool;
    tool.setProcessEnvironment(environment_);
    tool.start(program, arguments);
    if (!tool.waitForFinished(kToolTimeoutMs)) {
        tool.kill();
        tool.waitForFinished(1000);
        return std::nullopt;
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

QStringList DesktopDriver::visibleWindows(const QString& titlePattern) const
{
    const auto found = run(QStringLiteral("xdotool"),
                           {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), titlePattern});
    return found ? found->split(QLatin1Char('\n'), Qt::SkipEmptyParts) : QStringList();
}

std::optional<QString> DesktopDriver::waitForWindow(const QString& titlePattern, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    do {
        const QStringList windows = visibleWindows(titlePattern);
        if (!windows.isEmpty())
            return windows.first();
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return std::nullopt;
}

QRect DesktopDriver::geometry(const QString& window) const
{
    const auto shell = run(QStringLiteral("xdotool"), {QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    if (!shell)
        return {};
    QRect rect;
    for (const QString& line : shell->split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const int value = line.section(QLatin1Char('='), 1).toInt();
        if (line.startsWith(QLatin1String("X=")))
            rect.moveLeft(value);
        else if (line.startsWith(QLatin1String("Y=")))
            rect.moveTop(value);
        else if (line.startsWith(QLatin1String("WIDTH=")))
            rect.setWidth(value);
        else if (line.startsWith(QLatin1String("HEIGHT=")))
            rect.setHeight(value);
    }
    return rect;
}

QString DesktopDriver::title(const QString& window) const
{
    return run(QStringLiteral("xdotool"), {QStringLiteral("getwindowname"), window}).value_or(QString()).trimmed();
}

void DesktopDriver::key(const QString& name) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("key"), name});
}

void DesktopDriver::type(const QString& text) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text});
}

void DesktopDriver::focus(const QString& window) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("windowfocus"), window});
}

void DesktopDriver::mouseMove(int x, int y) const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
}

void DesktopDriver::click() const
{
    run(QStringLiteral("xdotool"), {QStringLiteral("click"), QStringLiteral("1")});
}

QImage DesktopDriver::grab(const QStringList& options) const
{
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("screen.png"));
    if (!run(QStringLiteral(KORVAL_SCREEN_GRAB), options + QStringList{file}))
        return {};
    return QImage(file).convertToFormat(QImage::Format_RGB32);
}

QImage DesktopDriver::screenshot() const
{
    return grab({});
}

QImage DesktopDriver::desktopShot() const
{
    return grab({QStringLiteral("--desktop")});
}

QImage DesktopDriver::desktopShot(const QRect& area) const
{
    return grab({QStringLiteral("--rect"),
                 QStringLiteral("%1,%2,%3,%4").arg(area.x()).arg(area.y()).arg(area.width()).arg(area.height())});
}

QImage DesktopDriver::waitForRain(const QRect& area, int greenPixels, int milliseconds) const
{
    // A screenshot that fails (a busy machine) is taken again.
    QImage screen;
    const QDeadlineTimer deadline(milliseconds);
    do {
        screen = screenshot();
        if (screen.isNull())
            QThread::msleep(50);
    } while ((screen.isNull() || greenInEachQuarter(screen, area) < greenPixels) && !deadline.hasExpired());
    return screen;
}

MapWatcher::MapWatcher(const QProcessEnvironment& environment)
{
    // xev on the root window reports every child window it maps.
    watcher_.setProcessEnvironment(environment);
    watcher_.start(QStringLiteral("xev"), {QStringLiteral("-root"), QStringLiteral("-event"), QStringLiteral("substructure")});
    watching_ = watcher_.waitForStarted(5000);
    // xev announces nothing when it is ready; give it time to select the events.
    if (watching_)
        QThread::msleep(300);
}

MapWatcher::~MapWatcher()
{
    if (watcher_.state() != QProcess::NotRunning) {
        watcher_.kill();
        watcher_.waitForFinished(3000);
    }
}

int MapWatcher::stopAndCountMaps()
{
    QThread::msleep(200); // events still on their way to xev
    watcher_.terminate();
    if (!watcher_.waitForFinished(3000)) {
        watcher_.kill();
        watcher_.waitForFinished(3000);
    }
    return static_cast<int>(watcher_.readAllStandardOutput().count("MapNotify event"));
}

} // namespace korval::e2e
