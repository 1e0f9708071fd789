#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWindow>

namespace korval {

// Holds the keyboard and the pointer for a window once it shows, as screen
// savers on X11 do: the keys typed to wake the saver reach no other program
// (not a terminal that had the focus), and the pointer's clicks reach none.
// A grab that another program holds (an open menu) is waited out: the grab
// is tried again until it is held. A modal box of the program's own is never
// grabbed from, so the user can answer it.
class InputGrab final : public QObject {
    Q_OBJECT

public:
    InputGrab();

    // Grabs for this window from now on, instead of any other.
    void holdFor(QWindow* window);
    // Gives the keyboard and the pointer back and tries no more.
    void release();

    bool holdsKeyboard() const { return keyboard_; }
    bool holdsPointer() const { return pointer_; }

private:
    void tryGrab();

    QPointer<QWindow> window_;
    QTimer retry_;
    bool keyboard_ = false;
    bool pointer_ = false;
};

} // namespace korval
