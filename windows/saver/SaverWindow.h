#pragma once

#include "CellPainter.h"

#include "windows/platform/OwnedWindow.h"
#include "windows/platform/Win32Platform.h"

#include "core/saver/CellArray.h"
#include "core/saver/Controls.h"
#include "core/saver/Stage.h"
#include "core/saver/Surface.h"

#include <functional>
#include <optional>
#include <vector>

namespace korval::windows {

// A borderless popup over one monitor that shows a control array of cells
// and, in front of them, a few windowless controls. After each handler of
// its stage it draws only the cells that changed; an exposure, or cells that
// moved, repaint it whole. Input over it goes to its stage: a key that
// produces a character (WM_CHAR), a button pressed over a cell, a pointer
// movement over a cell. Pointer positions travel in physical desktop
// pixels, so that a point over any of the saver's windows finds its cell.
// The foreground lost to another program goes to the stage as well.
//
// A window, timer, device context or font that the system cannot make is a
// run-time error: thrown by the constructor and followDisplayChanges(), and
// reported through the stage's guard when painting or a timer of the
// window's own needs one.
class SaverWindow final : public Surface {
public:
    // The window is on the stage for its whole life. The controls are
    // painted in the given order, the last one in front.
    SaverWindow(Stage& stage, CellArray& cells, std::vector<WindowlessControl*> controls);
    ~SaverWindow() override;
    SaverWindow(const SaverWindow&) = delete;
    SaverWindow& operator=(const SaverWindow&) = delete;

    HWND handle() const { return window_.get(); }

    // Covers the monitor and shows the window (again), repainted whole.
    void place(const Monitor& monitor);

    // Has the window hear of monitor changes: WM_DISPLAYCHANGE and
    // WM_DPICHANGED when the system sends them, and layoutChanged(), asked
    // every 0.8 s, for the changes it does not tell of. settled is called
    // once a burst of changes has settled (SCREENS_SETTLE_MS without another one).
    void followDisplayChanges(std::function<bool()> layoutChanged, std::function<void()> settled);

    void repaintChanges() override;
    std::optional<int> cellUnder(PointF globalPosition) const override;

private:
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void paintWhole(HDC dc);
    bool changesMeetControls() const;
    void forgetChanges();
    PointF desktopPoint(LPARAM clientPoint) const;

    Stage& stage_;
    CellArray& cells_;
    std::vector<WindowlessControl*> controls_;
    CellPainter painter_;
    PixelRect physical_; // where the window lies on the desktop
    bool shown_ = false;
    bool needsWholeRepaint_ = true;
    std::vector<RectF> controlDamage_; // logical pixels
    std::function<bool()> layoutChanged_;
    std::function<void()> displayChanged_;
    OwnedWindow window_; // the last member: it goes first, before what it shows
};

} // namespace korval::windows
