#include "DesktopPlatform.h"

#include "InstanceLock.h"
#include "LocaleFormat.h"
#include "QtText.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <cstdlib>

namespace korval {

DesktopPlatform::DesktopPlatform(InstanceLock* lock)
    : format_(regionalFormatOf(QLocale())), lock_(lock), anotherInstance_(lock && !lock->tryAcquire())
{
}

namespace {

// While every monitor is off (asleep, or unplugged) Qt on X11 keeps one
// placeholder screen named after the display (":0.0"), at the size the last
// monitor had. No monitor output has a colon in its name.
bool isMonitor(const QScreen* screen)
{
    return !screen->name().contains(QLatin1Char(':'));
}

// The saver's pointer: none at all. Qt's Wayland platform of Debian 12 (Qt
// 6.4) hides a blank cursor only over a window where the program has set a
// cursor image of its own before; the saver's windows appear under a pointer
// that wears the compositor's image, which would stay in sight over the
// rain. A transparent image is a cursor of the program's own, which shows
// as nothing anywhere.
QCursor hiddenPointer()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return QCursor(Qt::BlankCursor);
    QPixmap nothing(16, 16);
    nothing.fill(Qt::transparent);
    return QCursor(nothing, 0, 0);
}

} // namespace

std::vector<ScreenArea> DesktopPlatform::screens() const
{
    std::vector<ScreenArea> areas;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary && isMonitor(primary))
        areas.push_back({utf8Text(primary->name()), pixelRect(primary->geometry()), TWIPS_PER_PIXEL});
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary && isMonitor(screen))
            areas.push_back({utf8Text(screen->name()), pixelRect(screen->geometry()), TWIPS_PER_PIXEL});
    }
    return areas;
}

void DesktopPlatform::setScreensChangedHandler(std::function<void()> handler)
{
    screensSettled_.disconnect();
    QObject::disconnect(qGuiApp, nullptr, &screensSettled_, nullptr);
    if (!handler)
        return;
    screensSettled_.setSingleShot(true);
    screensSettled_.setInterval(SCREENS_SETTLE_MS);
    QObject::connect(&screensSettled_, &QTimer::timeout, std::move(handler));
    const auto changed = [this] { screensSettled_.start(); };
    QObject::connect(qGuiApp, &QGuiApplication::screenAdded, &screensSettled_, [this, changed](QScreen* screen) {
        watchScreen(screen);
        changed();
    });
    QObject::connect(qGuiApp, &QGuiApplication::screenRemoved, &screensSettled_, changed);
    QObject::connect(qGuiApp, &QGuiApplication::primaryScreenChanged, &screensSettled_, changed);
    for (const QScreen* screen : QGuiApplication::screens())
        watchScreen(screen);
}

void DesktopPlatform::watchScreen(const QScreen* screen)
{
    QObject::connect(screen, &QScreen::geometryChanged, &screensSettled_, [this] { screensSettled_.start(); });
}

void DesktopPlatform::hidePointer()
{
    if (pointerHidden_)
        return;
    pointerHidden_ = true;
    QGuiApplication::setOverrideCursor(hiddenPointer());
}

void DesktopPlatform::showPointer()
{
    if (!pointerHidden_)
        return;
    pointerHidden_ = false;
    QGuiApplication::restoreOverrideCursor();
}

void DesktopPlatform::messageBox(const std::string& text, MessageStyle style)
{
    // The saver may have hidden the pointer; the user needs it to answer.
    const bool pointerHidden = pointerHidden_;
    if (pointerHidden)
        QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(style == MessageStyle::Critical ? QMessageBox::Critical : QMessageBox::NoIcon,
                    QGuiApplication::applicationName(), qtText(text), QMessageBox::Ok);
    // In front of the saver's topmost window, which may still cover the screen.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.exec();
    if (pointerHidden)
        QGuiApplication::restoreOverrideCursor();
}

void DesktopPlatform::endProgram(int status)
{
    // Every store write has reached the disk before its call returned, so
    // nothing is lost by skipping the orderly shutdown. The lock is the one
    // thing the process leaves behind that it must take away itself.
    if (lock_)
        lock_->release();
    std::fflush(nullptr);
    std::_Exit(status);
}

} // namespace korval
