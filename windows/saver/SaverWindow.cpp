#include "SaverWindow.h"

#include "ForegroundLoss.h"
#include "MessagePoint.h"

#include "windows/platform/DeviceContext.h"

#include "core/runtime/RuntimeError.h"
#include "core/saver/PointerTarget.h"

#include <windowsx.h>

namespace korval::windows {
namespace {

constexpr wchar_t kClassName[] = L"KorvalSaver";
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = SCREENS_SETTLE_MS;
// A change is seen within 0.8 s and followed once it has settled: within a
// second in all.
constexpr UINT_PTR kLayoutTimer = 2;
constexpr UINT kLayoutCheckMs = 800;

// Setting a timer again restarts it.
void setTimer(HWND window, UINT_PTR id, UINT milliseconds)
{
    if (!SetTimer(window, id, milliseconds, nullptr))
        throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
}

DWORD processOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

} // namespace

SaverWindow::SaverWindow(Stage& stage, CellArray& cells, std::vector<WindowlessControl*> controls)
    : stage_(stage), cells_(cells), controls_(std::move(controls)), painter_(cells.font())
{
    registerWindowClass(kClassName, windowProc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)),
                        LoadCursorW(nullptr, IDC_ARROW));
    window_.create(0, kClassName, L"KORVAL", WS_POPUP, 0, 0, 0, 0, nullptr);
    for (WindowlessControl* control : controls_)
        control->setRepaintListener([this](const RectF& rect) { controlDamage_.push_back(rect); });
    stage_.add(*this);
    window_.attach(this);
}

SaverWindow::~SaverWindow()
{
    window_.reset();
    stage_.remove(*this);
    for (WindowlessControl* control : controls_)
        control->setRepaintListener({});
}

void SaverWindow::place(const Monitor& monitor)
{
    physical_ = monitor.physical;
    painter_.setScale(monitor.scale);
    shown_ = true;
    needsWholeRepaint_ = true;
    SetWindowPos(window_.get(), HWND_TOPMOST, physical_.x, physical_.y, physical_.width, physical_.height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(window_.get(), nullptr, FALSE);
}

void SaverWindow::followDisplayChanges(std::function<bool()> layoutChanged, std::function<void()> settled)
{
    layoutChanged_ = std::move(layoutChanged);
    displayChanged_ = std::move(settled);
    setTimer(window_.get(), kLayoutTimer, kLayoutCheckMs);
}

void SaverWindow::repaintChanges()
{
    if (!shown_) {
        // Nothing to show yet: the first exposure paints everything.
        forgetChanges();
        return;
    }
    const bool whole = needsWholeRepaint_ || cells_.geometryChanged();
    if (!whole && cells_.changes().empty() && controlDamage_.empty())
        return; // nothing changed: not even a device context is needed
    const WindowDc dc(window_.get());
    if (whole) {
        paintWhole(dc.get());
    } else {
        for (const RectF& area : controlDamage_)
            painter_.paintArea(dc.get(), cells_, area);
        painter_.paintCells(dc.get(), cells_, cells_.changes());
        if (!controlDamage_.empty() || changesMeetControls())
            painter_.paintControls(dc.get(), controls_);
        forgetChanges();
    }
}

// Whether a changed cell was drawn over a shown control, which must then be
// drawn again in front of it.
bool SaverWindow::changesMeetControls() const
{
    for (const WindowlessControl* control : controls_) {
        if (!control->isVisible())
            continue;
        for (int index : cells_.changes()) {
            if (cellMeets(cells_[index], control->rect()))
                return true;
        }
    }
    return false;
}

void SaverWindow::paintWhole(HDC dc)
{
    RECT client{};
    GetClientRect(window_.get(), &client);
    painter_.paintAll(dc, cells_, {client.right, client.bottom});
    painter_.paintControls(dc, controls_);
    needsWholeRepaint_ = false;
    forgetChanges();
}

// What was drawn (or needs no drawing) is no longer a change.
void SaverWindow::forgetChanges()
{
    cells_.clearChanges();
    controlDamage_.clear();
}

std::optional<int> SaverWindow::cellUnder(PointF globalPosition) const
{
    const double x = globalPosition.x - physical_.x;
    const double y = globalPosition.y - physical_.y;
    if (!shown_ || x < 0 || y < 0 || x >= physical_.width || y >= physical_.height)
        return std::nullopt;
    return cellUnderPoint(cells_, controls_, painter_.scale().logicalPoint(x, y));
}

// The message's 16-bit client coordinates, taken back to their full range
// by the pointer's place now (see MessagePoint.h), in desktop pixels.
PointF SaverWindow::desktopPoint(LPARAM clientPoint) const
{
    POINT pointer{};
    GetCursorPos(&pointer);
    ScreenToClient(window_.get(), &pointer);
    POINT point{fullCoordinate(GET_X_LPARAM(clientPoint), pointer.x),
                fullCoordinate(GET_Y_LPARAM(clientPoint), pointer.y)};
    ClientToScreen(window_.get(), &point);
    return {double(point.x), double(point.y)};
}

LRESULT CALLBACK SaverWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* self = OwnedWindow::ownerOf<SaverWindow>(window))
        return self->handleMessage(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SaverWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        stage_.guard([this] {
            const PaintDc dc(window_.get());
            if (shown_)
                paintWhole(dc.get());
        });
        return 0;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT paints every pixel
    case WM_CHAR:
        // Only keys that produce a character: Shift, Ctrl or Alt alone, the
        // arrows and the function keys bring no WM_CHAR.
        if (stage())
            stage()->keyPress(static_cast<int>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        if (stage())
            stage()->click(desktopPoint(lParam));
        return 0;
    case WM_MOUSEMOVE:
        // Also sent without any motion: the stage tells moves apart.
        if (stage())
            stage()->pointerMoved(desktopPoint(lParam));
        return 0;
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // Restarted by each change: a burst is handed on once.
        stage_.guard([this] { setTimer(window_.get(), kSettleTimer, kSettleMs); });
        return 0;
    case WM_TIMER:
        if (wParam == kLayoutTimer) {
            stage_.guard([this] {
                if (layoutChanged_ && layoutChanged_())
                    setTimer(window_.get(), kSettleTimer, kSettleMs);
            });
            return 0;
        }
        if (wParam != kSettleTimer)
            break;
        KillTimer(window_.get(), kSettleTimer);
        if (displayChanged_)
            displayChanged_();
        return 0;
    case WM_ACTIVATEAPP:
    case WM_ACTIVATE:
    case WM_NCACTIVATE:
        if (stage() && losesForeground(message, wParam, lParam, GetCurrentProcessId(), processOf))
            stage()->deactivate();
        break;
    case WM_CLOSE:
        return 0; // the saver ends by its own triggers only, not by Alt+F4
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        break;
    default:
        break;
    }
    return DefWindowProcW(window_.get(), message, wParam, lParam);
}

} // namespace korval::windows
