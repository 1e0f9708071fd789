#include "DesktopDriver.h"

#include "GlyphPixels.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace korval::e2e {
namespace {

constexpr int kToolTimeoutMs = 5000;

} // namespace

DesktopDriver::DesktopDriver(QProcessEnvironment environment)
    : environment_(std::move(environment)), display_(environment_.value(QStringLiteral("DISPLAY")))
{
}

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

QImage DesktopDriver::screenshot() const
{
    const QList<QRect> monitors = display_.monitors();
    return monitors.isEmpty() ? QImage() : display_.image(monitors.first());
}

QImage DesktopDriver::desktopShot() const
{
    // The rectangle round every monitor, as Qt reckons the desktop.
    QRect desktop;
    for (const QRect& monitor : display_.monitors())
        desktop |= monitor;
    return display_.image(desktop);
}

QImage DesktopDriver::desktopShot(const QRect& area) const
{
    return display_.image(area);
}

QImage DesktopDriver::waitForRain(const QRect& area, int greenPixels, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    for (;;) {
        const QImage screen = screenshot();
        if (screen.isNull() || greenInEachQuarter(screen, area) >= greenPixels || deadline.hasExpired())
            return screen;
        QThread::msleep(kSampleGapMs);
    }
}

int DesktopDriver::waitForNewPictures(const QRect& area, int changes, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    QImage last = desktopShot(area);
    int seen = 0;
    while (!last.isNull() && seen < changes && !deadline.hasExpired()) {
        QThread::msleep(kSampleGapMs);
        const QImage next = desktopShot(area);
        if (next != last)
            ++seen;
        last = next;
    }
    return seen;
}

bool DesktopDriver::waitUntilInputHeld(int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    while (!display_.inputHeldByAnother()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

bool DesktopDriver::waitForFocus(const QString& window, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    while (display_.focus() != window.toUInt()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

bool DesktopDriver::waitUntilGone(std::uint32_t window, int milliseconds) const
{
    const QDeadlineTimer deadline(milliseconds);
    while (display_.exists(window)) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(10);
    }
    return true;
}

MapWatcher::MapWatcher(const QProcessEnvironment& environment)
    : display_(environment.value(QStringLiteral("DISPLAY")))
{
    const auto clients = display_.clients();
    if (!clients)
        return;
    clientsBefore_ = *clients;
    // The root window reports every child window that is mapped; once the
    // server has answered, the selection holds for what comes after.
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(display_.native(), display_.root(), XCB_CW_EVENT_MASK, &mask);
    display_.roundTrip();
    watching_ = true;
}

int MapWatcher::mapsSoFar()
{
    display_.roundTrip();
    while (xcb_generic_event_t* event = xcb_poll_for_event(display_.native())) {
        maps_ += (event->response_type & 0x7F) == XCB_MAP_NOTIFY ? 1 : 0;
        std::free(event);
    }
    return maps_;
}

std::optional<int> MapWatcher::mapsAfterAllEnded()
{
    const QDeadlineTimer deadline(DesktopDriver::kPatienceMs);
    for (;;) {
        const auto clients = display_.clients();
        if (!clients)
            return std::nullopt;
        const bool newOnesGone = std::all_of(clients->begin(), clients->end(),
                                             [this](std::uint32_t client) { return clientsBefore_.contains(client); });
        if (newOnesGone)
            return mapsSoFar();
        if (deadline.hasExpired())
            return std::nullopt;
        QThread::msleep(10);
    }
}

} // namespace korval::e2e
