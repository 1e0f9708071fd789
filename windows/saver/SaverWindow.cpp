#include "SaverWindow.h"

#include "core/saver/PointerTarget.h"

#include <windowsx.h>

namespace korval::windows {
namespace {

constexpr wchar_t kClassName[] = L"KorvalSaver";
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kSettleMs = 200;
// A change is seen within 0.8 s and followed once it has settled: within a
// second in all.
constexpr UINT_PTR kLayoutTimer = 2;
constexpr UINT kLayoutCheckMs = 800;

void registerClass(WNDPROC proc)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass); // fails harmlessly once the class exists
}

} // namespace

SaverWindow::SaverWindow(Stage& stage, CellArray& cells, std::vector<WindowlessControl*> controls, MoveFilter& moves)
    : stage_(stage), cells_(cells), controls_(std::move(controls)), moves_(moves), painter_(cells.font())
{
    registerClass(windowProc);
    window_ = CreateWindowExW(0, kClassName, L"KORVAL", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (WindowlessControl* control : controls_)
        control->setRepaintListener([this](const RectF& rect) { controlDamage_.push_back(rect); });
    stage_.add(*this);
}

SaverWindow::~SaverWindow()
{
    stage_.remove(*this);
    for (WindowlessControl* control : controls_)
        control->setRepaintListener({});
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
}

void SaverWindow::place(const Monitor& monitor)
{
    physical_ = monitor.physical;
    painter_.setScale(monitor.scale);
    shown_ = true;
    needsWholeRepaint_ = true;
    SetWindowPos(window_, HWND_TOPMOST, physical_.x, physical_.y, physical_.width, physical_.height,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, FALSE);
}

void SaverWindow::followDisplayChanges(std::function<bool()> layoutChanged, std::function<void()> settled)
{
    layoutChanged_ = std::move(layoutChanged);
    displayChanged_ = std::move(settled);
    SetTimer(window_, kLayoutTimer, kLayoutCheckMs, nullptr);
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
    HDC dc = GetDC(window_);
    if (whole) {
        paintWhole(dc);
    } else {
        for (const RectF& area : controlDamage_)
            painter_.paintArea(dc, cells_, area);
        painter_.paintCells(dc, cells_, cells_.changes());
        if (!controlDamage_.empty() || changesMeetControls())
            painter_.paintControls(dc, controls_);
        forgetChanges();
    }
    ReleaseDC(window_, dc);
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
    GetClientRect(window_, &client);
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

POINT SaverWindow::desktopPoint(LPARAM clientPoint) const
{
    POINT point{GET_X_LPARAM(clientPoint), GET_Y_LPARAM(clientPoint)};
    ClientToScreen(window_, &point);
    return point;
}

int SaverWindow::cellAtDesktop(LPARAM clientPoint) const
{
    const POINT point = desktopPoint(clientPoint);
    return stage() ? stage()->cellAt({double(point.x), double(point.y)}) : -1;
}

LRESULT CALLBACK SaverWindow::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* self = reinterpret_cast<SaverWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
        return self->handleMessage(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT SaverWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window_, &paint);
        if (shown_)
            paintWhole(dc);
        EndPaint(window_, &paint);
        return 0;
    }
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
        if (const int cell = cellAtDesktop(lParam); cell >= 0)
            stage()->cellClick(cell);
        return 0;
    case WM_MOUSEMOVE: {
        const POINT point = desktopPoint(lParam);
        if (!moves_.moved({point.x, point.y}) || !stage())
            return 0;
        if (const int cell = stage()->cellAt({double(point.x), double(point.y)}); cell >= 0)
            stage()->cellMouseMove(cell);
        return 0;
    }
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        // Setting the timer again restarts it: a burst is handed on once.
        SetTimer(window_, kSettleTimer, kSettleMs, nullptr);
        return 0;
    case WM_TIMER:
        if (wParam == kLayoutTimer) {
            if (layoutChanged_ && layoutChanged_())
                SetTimer(window_, kSettleTimer, kSettleMs, nullptr);
            return 0;
        }
        if (wParam != kSettleTimer)
            break;
        KillTimer(window_, kSettleTimer);
        if (displayChanged_)
            displayChanged_();
        return 0;
    case WM_CLOSE:
        return 0; // the saver ends by its own triggers only, not by Alt+F4
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE || (wParam & 0xFFF0) == SC_SCREENSAVE)
            return 0;
        break;
    default:
        break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

} // namespace korval::windows
