#pragma once

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>

#include <optional>

namespace korval::e2e {

// What a user does and sees on an X display, through the X tools: finding
// windows by title, typing, moving and clicking the pointer, and taking a
// screenshot. Every tool call has a time limit.
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

    // The whole primary screen, or a null image when it cannot be taken.
    QImage screenshot() const;
    // The whole desktop, every monitor on it; or a rectangle of it in
    // desktop coordinates. A null image when it cannot be taken.
    QImage desktopShot() const;
    QImage desktopShot(const QRect& area) const;
    // Screenshots until each quarter of the area shows that many pixels of
    // glyph rain, or the time is up; the last screenshot.
    QImage waitForRain(const QRect& area, int greenPixels, int milliseconds = 3000) const;

private:
    // Runs an X tool; its standard output, or nothing if it failed.
    std::optional<QString> run(const QString& program, const QStringList& arguments) const;
    // Runs the screenshot helper with these options before the file name.
    QImage grab(const QStringList& options) const;

    QProcessEnvironment environment_;
};

// Records which windows are mapped on a display while it exists: every map
// request, from the moment the watcher starts until it stops.
class MapWatcher {
public:
    explicit MapWatcher(const QProcessEnvironment& environment);
    ~MapWatcher();
    bool isWatching() const { return watching_; }
    // Stops watching and counts the windows mapped meanwhile.
    int stopAndCountMaps();

private:
    QProcess watcher_;
    bool watching_ = false;
};

} // namespace korval::e2e
