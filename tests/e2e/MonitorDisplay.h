#pragma once

#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <optional>
#include <ostream>

namespace korval::e2e {

// One monitor as RandR lists it: the output that shows it, where it lies on
// the desktop, and whether it is the primary one.
struct Monitor {
    QString name;
    QRect geometry;
    bool primary = false;

    bool operator==(const Monitor&) const = default;
};

void PrintTo(const Monitor& monitor, std::ostream* out);

// An X server of its own for one test with several monitors: Xorg with the
// dummy video driver, whose outputs DUMMY0 .. DUMMY15 are switched on,
// placed, resized and switched off through RandR (xrandr), as a user does
// with real monitors. It starts with DUMMY0 at 1920 x 1080 at (0, 0) as the
// primary monitor and the other outputs off. The server takes a free display
// number itself; its configuration and log lie in a temporary folder. It is
// stopped when the object goes, and killed with the test program.
//
// Every change waits until the server shows it (bounded) and says whether
// it did; error() then says why not. As xrandr always does, a change that
// leaves the monitors' top left corner away from (0, 0) moves them all so
// that it is (0, 0) again: the desktop always starts there.
class MonitorDisplay {
public:
    static constexpr int kOutputs = 16;
    static constexpr QRect kStartGeometry{0, 0, 1920, 1080};

    // What is missing on this machine for such a server (the X server, its
    // dummy driver, xrandr), or an empty string.
    static QString missingSoftware();

    MonitorDisplay();
    ~MonitorDisplay();
    MonitorDisplay(const MonitorDisplay&) = delete;
    MonitorDisplay& operator=(const MonitorDisplay&) = delete;

    // Whether the server accepts connections; error() says why not.
    bool isReady() const { return ready_; }
    // Why the server did not start, or why the last change failed.
    const QString& error() const { return error_; }
    // ":<number>", the value for DISPLAY.
    QString name() const { return QStringLiteral(":%1").arg(number_); }
    QString logFile() const;

    // Switches an output on (or changes it) with a mode of the rectangle's
    // size, at the rectangle's place: enable("DUMMY1", {1920, 0, 1920, 1080}).
    bool enable(const QString& output, const QRect& geometry);
    // Moves and/or resizes an output that is on.
    bool setGeometry(const QString& output, const QRect& geometry);
    bool disable(const QString& output);
    bool setPrimary(const QString& output);
    // The monitors shown now, ordered by name (xrandr --listmonitors); empty
    // when none is on or the list cannot be read (then error() says so).
    QList<Monitor> monitors() const;

private:
    bool start();
    // Runs xrandr on this display; its standard output, or nothing (and
    // error_ set) when it fails.
    std::optional<QString> xrandr(const QStringList& arguments) const;
    bool addMode(const QString& output, const QSize& size);
    // Runs xrandr and waits until the monitors are the expected ones.
    bool change(const QStringList& arguments, const QList<Monitor>& expected, bool comparePrimary);

    QTemporaryDir folder_;
    QProcess server_;
    QProcessEnvironment environment_;
    int number_ = -1;
    bool ready_ = false;
    mutable QString error_;
    QSet<QString> modes_;       // modes created on the server
    QSet<QString> outputModes_; // "<output> <mode>" pairs added
};

} // namespace korval::e2e
