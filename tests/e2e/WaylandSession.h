#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace korval::e2e {

// A Wayland compositor of a test's own: sway on its headless backend,
// drawing with pixman, with one or more outputs (HEADLESS-1 1024 x 768 at
// the origin, HEADLESS-2 800 x 600 to its right). sway is run as an
// unprivileged user: the test's own, or, where the test runs as root, the
// user that scripts/install-deps.sh makes. The test's programs connect to
// it by the socket's path, whoever they run as.
class WaylandSession {
public:
    explicit WaylandSession(int outputs);
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    // The tools the session needs that are not installed, or an empty string.
    static QString missingTool();
    // Where the test runs as root, whether there is a user to run sway as.
    static bool hasUser();

    bool isReady() const { return ready_; }
    QString error() const { return error_; }

    static constexpr QRect kFirstOutput{0, 0, 1024, 768};
    static constexpr QRect kSecondOutput{1024, 0, 800, 600};

    // The given environment on this display alone: WAYLAND_DISPLAY set,
    // no X display, and no platform chosen for Qt.
    QProcessEnvironment clientEnvironment(QProcessEnvironment environment) const;

    // The whole layout of outputs as grim reads it; a null image on failure.
    QImage screenshot() const;
    // What swaymsg answers, parsed; an empty array on failure.
    QJsonArray outputs() const;
    // The titles of the windows sway shows, each with the output it is on
    // and whether it is fullscreen, as "title@output" or "title@output
    // fullscreen".
    QStringList windows() const;
    bool command(const QStringList& arguments) const;

    // Sends keys as wtype's arguments ("-k", "Tab", "-M", "ctrl", "a", ...).
    bool keys(const QStringList& wtypeArguments) const;

    // What sway wrote so far, for a failure's message.
    QString log();

private:
    QProcessEnvironment toolEnvironment() const;
    bool hasKeyboard() const;
    bool run(const QString& program, const QStringList& arguments, QByteArray* output) const;

    QTemporaryDir folder_;
    QProcess sway_;
    QProcess keyboard_;
    QString socket_;
    QString ipcSocket_;
    QString log_;
    bool ready_ = false;
    QString error_;
};

} // namespace korval::e2e
