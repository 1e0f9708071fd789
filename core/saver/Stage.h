#pragma once

#include "MoveFilter.h"
#include "Surface.h"

#include "core/runtime/HandlerGuard.h"
#include "core/runtime/Platform.h"

#include <functional>
#include <vector>

namespace korval {

// The one way into a form's handlers, and the surfaces that show what they
// change. Every handler (a timer's tick, a key, a click, a mouse movement)
// runs under the platform's guard, so that an error in it ends the program
// with its message instead of reaching the event loop; when it returns, every surface
// paints its changes at once. Changes made inside a handler post no repaint
// of their own, so a tick costs one wake-up of the program.
class Stage {
public:
    // The form's input handlers. Each gets the index of the cell (or the
    // character code) that the event concerned.
    struct Input {
        std::function<void(int characterCode)> keyPress;
        std::function<void(int cell)> cellClick;
        std::function<void(int cell)> cellMouseMove;
        // The program lost the foreground to another one.
        std::function<void()> deactivate;
    };

    explicit Stage(Platform& platform) : platform_(platform) {}
    ~Stage();
    Stage(const Stage&) = delete;
    Stage& operator=(const Stage&) = delete;

    void add(Surface& surface);
    void remove(Surface& surface);

    void setInput(Input input) { input_ = std::move(input); }

    // A handler for a timer: each call runs the form's handler and paints.
    std::function<void()> handler(std::function<void()> formHandler)
    {
        return [this, formHandler = std::move(formHandler)] { run(formHandler); };
    }

    // Input from a surface, handed to the form's handlers. Places are the
    // desktop's: the window that holds the pointer also hears of it over
    // the others, and whichever surface shows the place finds its cell; a
    // place over no cell does nothing.
    void keyPress(int characterCode) { run([&] { call(input_.keyPress, characterCode); }); }
    void click(PointF desktopPosition);
    // A report of the pointer, a move to the form where it is one (MoveFilter).
    void pointerMoved(PointF desktopPosition);
    void deactivate()
    {
        run([&] {
            if (input_.deactivate)
                input_.deactivate();
        });
    }

    // Runs one handler of the form, then paints every surface's changes.
    template <class Handler>
    void run(Handler&& handler)
    {
        const bool outer = !handling_;
        handling_ = true;
        runGuarded(platform_, std::forward<Handler>(handler));
        if (outer)
            handling_ = false;
        repaintChanges();
    }

    // Work of a surface outside the form's handlers (a repaint the system
    // asks for, a timer of the surface's own), under the same guard.
    template <class Work>
    void guard(Work&& work)
    {
        runGuarded(platform_, std::forward<Work>(work));
    }

    // Where the pointer stands as the windows show, where the system can
    // tell, and where it enters one of them: see MoveFilter.
    void startMovesAt(PointF desktopPosition) { moves_.startAt(desktopPosition); }
    void pointerEntered(PointF desktopPosition);

    // True while a handler runs: its changes are painted when it returns.
    bool isHandling() const { return handling_; }

    // The cell under a point of the desktop, on whichever surface shows it,
    // or -1. The pointer held by one window reports movements over the
    // others to that one.
    int cellAt(PointF globalPosition) const;

    // Each surface paints its changes, under the guard: a surface that
    // cannot paint (no device context, no font) is an unhandled error.
    void repaintChanges();

private:
    void moveOverCell(PointF desktopPosition);
    static void call(const std::function<void(int)>& handler, int argument)
    {
        if (handler)
            handler(argument);
    }

    Platform& platform_;
    std::vector<Surface*> surfaces_;
    Input input_;
    MoveFilter moves_;
    bool handling_ = false;
};

} // namespace korval
