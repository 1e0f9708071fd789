#pragma once

#include "DisplayConnection.h"

#include <QImage>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>

#include <optional>

namespace korval::e2e {

// What a user does and sees on an X display: finding windows by title,
// typing, moving and clicking the pointer through the X tools (every tool
// call has a time limit), and reading the screen and who holds the input
// over a connection of the test's own, which takes milliseconds.
class DesktopDriver {
public:
    explicit DesktopDriver(QProcessEnvironment environment);

    // Visible windows whose title matches the regular expression.
    QStringList visibleWindows(const QString& titlePattern) const;
    // Waits until one such window is visible.
    std::optional<QString> waitForWindow(const QString& titlePattern, int milliseconds) const;
    QRect geometry(const QString& window) const;
    QString title(const QString& window) const;

    // Key names as xdotool knows them: "a", "Return", "shift", "F1".
    void key(const QString& name) const;
    void type(const QString& text) const;
    void focus(const QString& window) const;
    void mouseMove(int x, int y) const;
    void click() const;

    // The whole primary monitor, or a null image when it cannot be read.
    QImage screenshot() const;
    // The whole desktop, every monitor on it; or a rectangle of it in
    // desktop coordinates. A null image when it cannot be read.
    QImage desktopShot() const;
    QImage desktopShot(const QRect& area) const;
    // Screenshots until each quarter of the area shows that many pixels of
    // glyph rain, or the time is up; the last screenshot.
    QImage waitForRain(const QRect& area, int greenPixels, int milliseconds = kPatienceMs) const;
    // Reads the area until its picture has changed that many times, or the
    // time is up; how many changes it saw. A program that draws a new
    // picture has gone round its event loop, and so has handled what the
    // server had sent it before.
    int waitForNewPictures(const QRect& area, int changes, int milliseconds = kPatienceMs) const;

    // Waits until another client holds both the keyboard and the pointer.
    bool waitUntilInputHeld(int milliseconds = kPatienceMs) const;
    // Waits until the server has the input focus on the window.
    bool waitForFocus(const QString& window, int milliseconds = kPatienceMs) const;
    // Waits until the window no longer exists.
    bool waitUntilGone(std::uint32_t window, int milliseconds = kPatienceMs) const;

    // How long a wait for something the server or the program will do may
    // take before the test gives up on it: long enough for a busy machine,
    // and no promise of the program's.
    static constexpr int kPatienceMs = 10000;
    // The pause between two readings of the screen in a loop, which leaves
    // the X server and the program the time to go on.
    static constexpr int kSampleGapMs = 10;

private:
    // Runs an X tool; its standard output, or nothing if it failed.
    std::optional<QString> run(const QString& program, const QStringList& arguments) const;

    QProcessEnvironment environment_;
    DisplayConnection display_;
};

// Records which windows are mapped on a display while it exists: every map
// notification on the root window, from the moment the watcher starts.
class MapWatcher {
public:
    explicit MapWatcher(const QProcessEnvironment& environment);
    bool isWatching() const { return watching_; }
    // The windows mapped so far by the programs that ran since the watcher
    // started and have ended: once every client that connected since then
    // has gone (so the server has handled all they sent), or nothing if
    // one is still connected after ten seconds.
    std::optional<int> mapsAfterAllEnded();
    // The windows mapped so far by programs that still run: what they sent
    // before the picture that the test last saw is counted.
    int mapsSoFar();

private:
    DisplayConnection display_;
    QList<std::uint32_t> clientsBefore_;
    int maps_ = 0;
    bool watching_ = false;
};

} // namespace korval::e2e
