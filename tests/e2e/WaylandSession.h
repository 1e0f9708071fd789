#pragma once

#include <QElapsedTimer>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>

namespace korval::e2e {

// A Wayland compositor of a test's own: sway on its headless backend,
// drawing with pixman, with one or more outputs (the first 1024 x 768 at
// the origin, the second 800 x 600 to its right). sway is run as an
// unprivileged user: the test's own, or, where the test runs as root, the
// user that scripts/install-deps.sh makes. The test's programs connect to
// it by the socket's path, whoever they run as.
//
// The headless backend of Debian 12's sway can plug outputs in but never
// take one away (it cannot disable an output, and has no unplug). Where a
// test takes outputs away, the session's sway runs on the Wayland backend
// instead, inside a second, headless sway: each of its outputs is a window
// there, shown fullscreen on one of that sway's outputs (the first on the
// 1024 x 768 one, every later one on the 800 x 600 one), and closing that
// window destroys the output, as unplugging its monitor does on a real
// machine.
class WaylandSession {
public:
    enum class Outputs { Fixed, Removable };

    explicit WaylandSession(int outputs, Outputs kind = Outputs::Fixed);
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    // The tools the session needs that are not installed, or an empty string.
    static QString missingTool();
    // Where the test runs as root, whether there is a user to run sway as.
    static bool hasUser();
    // Whether the pointer tool was built (it needs libwayland-client).
    static bool hasPointerTool();

    bool isReady() const { return ready_; }
    QString error() const { return error_; }

    static constexpr QRect kFirstOutput{0, 0, 1024, 768};
    static constexpr QRect kSecondOutput{1024, 0, 800, 600};

    // The name sway gives the session's output with this number, from 1.
    QString outputName(int number) const;

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

    // Plugs in an output and waits until it is on, at kSecondOutput's size
    // and place; its name, or an empty string.
    QString addOutput();
    // Takes an output away (removable outputs only) and waits until sway
    // no longer has it.
    bool removeOutput(const QString& name);

    // Sends keys as wtype's arguments ("-k", "Tab", "-M", "ctrl", "a", ...).
    bool keys(const QStringList& wtypeArguments) const;

    // Gives the seat a pointer, held until the session ends: a client
    // learns of a new pointer only some time after it comes, so it must be
    // there before the clients that the test points at start.
    bool addPointer();
    // Moves the pointer to a point of the layout, or by a distance; presses
    // and releases the left button. Each returns once sway has handled it.
    bool pointTo(const QPoint& point);
    bool pointBy(int dx, int dy);
    bool click();
    // How many outputs sway offers its clients now (wl_output globals);
    // -1 when it cannot tell.
    int outputsOffered();

    // What sway wrote so far, for a failure's message.
    QString log();

private:
    struct Compositor {
        QProcess process;
        QString socket;
        QString ipc;
        QString log;
    };

    bool startCompositor(Compositor& compositor, const QString& name, const QByteArray& config,
                         const QProcessEnvironment& backend, int outputs);
    QProcessEnvironment toolEnvironment() const;
    QList<QRect> outputRects(const Compositor& compositor) const;
    QJsonArray outputsOf(const Compositor& compositor) const;
    bool hasInput(const QString& type) const;
    QString pointer(const QString& command);
    bool run(const QString& program, const QStringList& arguments, QByteArray* output) const;

    QTemporaryDir folder_;
    Outputs kind_;
    Compositor host_;
    Compositor sway_;
    QProcess keyboard_;
    QProcess pointer_;
    bool ready_ = false;
    QString error_;
};

} // namespace korval::e2e
