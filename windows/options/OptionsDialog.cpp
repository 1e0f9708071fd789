#include "OptionsDialog.h"

#include "core/options/DialogDesign.h"
#include "core/options/DialogFields.h"
#include "core/runtime/HandlerGuard.h"
#include "core/saver/Palette.h"
#include "windows/platform/DeviceContext.h"
#include "windows/platform/WideText.h"

#include <string_view>

namespace korval::windows {
namespace {

constexpr const wchar_t* kWindowClass = L"KORVAL options";
constexpr Colour kChosenColour = CAPTION_COLOUR;
constexpr Colour kUnchosenColour = TRAIL_COLOUR;
// The size list's drop-down part, below the field: room for its six sizes.
constexpr int kDropDownHeight = 100;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
// WM_DPICHANGED, which headers for systems before Windows 8.1 do not name.
constexpr UINT kDpiChanged = 0x02E0;

COLORREF colorRef(Colour colour)
{
    return RGB(redOf(colour), greenOf(colour), blueOf(colour));
}

LRESULT brushResult(HBRUSH brush)
{
    return reinterpret_cast<LRESULT>(brush);
}

HBRUSH blackBrush()
{
    return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
}

// A function of user32 that older systems lack, looked up where it is used.
template <class Function>
Function user32Function(const char* name)
{
    const FARPROC address = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<Function>(reinterpret_cast<void*>(address));
}

// The resolution of the monitor the window is on. Before Windows 10 (and on
// Wine builds without GetDpiForWindow) the system's one resolution.
unsigned windowDpi(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    if (const auto getDpiForWindow = user32Function<GetDpiForWindowFunction>("GetDpiForWindow"))
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    const HDC dc = GetDC(window);
    const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 0;
    if (dc)
        ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<unsigned>(dpi) : kDesignDpi;
}

// The outer size of a window with that client area and frame at the resolution.
RECT frameAround(RECT client, DWORD style, unsigned dpi)
{
    using AdjustForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    if (const auto adjustForDpi = user32Function<AdjustForDpiFunction>("AdjustWindowRectExForDpi"))
        if (adjustForDpi(&client, style, FALSE, 0, dpi))
            return client;
    AdjustWindowRectEx(&client, style, FALSE, 0);
    return client;
}

std::string windowText(HWND window)
{
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
    const int copied = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return toUtf8(text);
}

} // namespace

// How each control of the design (in the same order as the core's table) is
// made: its window class, styles and id.
struct OptionsDialog::ControlDesign {
    HWND OptionsDialog::*control;
    int id;
    const wchar_t* windowClass;
    DWORD style;
    DWORD extendedStyle;
};

// Only the size list, the gap boxes and the buttons take the focus; "ANO"
// and "NE" answer clicks.
const OptionsDialog::ControlDesign OptionsDialog::kDesign[] = {
    {&OptionsDialog::Label1, IdLabel1, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {&OptionsDialog::Combo1, IdCombo1, L"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0},
    {&OptionsDialog::Label2, IdLabel2, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {&OptionsDialog::Text1, IdText1, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {&OptionsDialog::Label3, IdLabel3, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {&OptionsDialog::Text2, IdText2, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE},
    {&OptionsDialog::Command1, IdCommand1, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {&OptionsDialog::Command2, IdCommand2, L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0},
    {&OptionsDialog::Label4, IdLabel4, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
    {&OptionsDialog::Label5, IdLabel5, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0},
    {&OptionsDialog::Label6, IdLabel6, L"STATIC", SS_LEFT | SS_NOPREFIX | SS_NOTIFY, 0},
    {&OptionsDialog::Label7, IdLabel7, L"STATIC", SS_LEFT | SS_NOPREFIX, 0},
};

namespace {

DialogRect designRect(const korval::ControlDesign& design)
{
    return {design.left, design.top, design.width, design.height};
}

} // namespace

// Until the dialog is whole its window's messages go to DefWindowProcW:
// a constructor that fails destroys the window with the members, and no
// message reaches what is left of the dialog.
OptionsDialog::OptionsDialog(Platform& platform, SettingsStore& store, HWND owner)
    : Form2(platform, store, *this), platform_(platform),
      trailBrush_(CreateSolidBrush(colorRef(TRAIL_COLOUR)), &DeleteObject)
{
    if (!trailBrush_)
        throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
    registerWindowClass(kWindowClass, &OptionsDialog::windowProcedure, blackBrush(), LoadCursorW(nullptr, IDC_ARROW));
    window_.create(0, kWindowClass, toWide(kDialogTitle).c_str(), kWindowStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                   CW_USEDEFAULT, CW_USEDEFAULT, owner);
    createControls();
    layOut(windowDpi(window_.get()));
    placeWindow();
    window_.attach(this);
}

// The window, the last member, goes first, and its controls with it: before
// the fonts and the brush they use.
OptionsDialog::~OptionsDialog() = default;

void OptionsDialog::createControls()
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    static_assert(std::size(kDesign) == kDialogDesign.size(), "a way to make each control of the design");
    for (std::size_t index = 0; index < kDialogDesign.size(); ++index) {
        const ControlDesign& design = kDesign[index];
        const DWORD visible = design.control == &OptionsDialog::Label7 ? 0 : WS_VISIBLE;
        this->*design.control = CreateWindowExW(
            design.extendedStyle, design.windowClass, toWide(kDialogDesign[index].caption).c_str(),
            WS_CHILD | visible | design.style, 0, 0, 0, 0, window_.get(),
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), instance, nullptr);
        if (!(this->*design.control))
            throw RuntimeError(RuntimeError::OutOfMemory, "Out of memory");
    }
}

// Places and sizes every control for the resolution, with fonts made for it.
// The measuring label keeps the font and size the last measuring gave it.
void OptionsDialog::layOut(unsigned dpi)
{
    dpi_ = dpi;
    GdiFont captions = captionFont(dpi);
    GdiFont defaults = defaultFont(dpi);
    const WindowDc dc(window_.get());
    for (std::size_t index = 0; index < kDialogDesign.size(); ++index) {
        const korval::ControlDesign& design = kDialogDesign[index];
        const HWND control = this->*kDesign[index].control;
        const HFONT font = design.face == ControlFace::Caption ? captions.get() : defaults.get();
        const bool measured = control == Label7 && measuringFont_;
        if (!measured)
            SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        DialogRect place = scaledRect(designRect(design), dpi);
        if (design.sizedToCaption) {
            const SIZE extent = textExtent(dc.get(), font, toWide(design.caption));
            place.width = extent.cx;
            place.height = extent.cy;
        }
        if (control == Combo1)
            place.height += scaledLength(kDropDownHeight, dpi);
        SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height,
                     SWP_NOZORDER | SWP_NOACTIVATE | (measured ? SWP_NOSIZE : 0));
    }
    captionFont_ = std::move(captions);
    defaultFont_ = std::move(defaults);
    InvalidateRect(window_.get(), nullptr, TRUE);
}

// Centred on the work area of the owner's monitor, or of the monitor the
// system put the window on.
void OptionsDialog::placeWindow()
{
    const DialogRect client = scaledRect(kClientArea, dpi_);
    const RECT frame = frameAround({0, 0, client.width, client.height}, kWindowStyle, dpi_);
    const HWND owner = GetWindow(window_.get(), GW_OWNER);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : window_.get(), MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& area = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window_.get(), nullptr, area.left + (area.right - area.left - width) / 2,
                 area.top + (area.bottom - area.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void OptionsDialog::open()
{
    runGuarded(platform_, [this] { Form_Load(); });
    ShowWindow(window_.get(), SW_SHOW);
    SetForegroundWindow(window_.get());
    SetFocus(Combo1);
}

// Enter and Esc press neither button, not even the focused one: only a
// click or the space bar does. Elsewhere the dialog manager turns them into
// IDOK and IDCANCEL, which no control answers to. Alt+F4 closes the window
// from any control: Wine's size list keeps it to itself otherwise.
bool OptionsDialog::preTranslate(MSG& message)
{
    if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F4 && (HIWORD(message.lParam) & KF_ALTDOWN)) {
        PostMessageW(window_.get(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    const bool key = message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR;
    const bool enterOrEsc = message.wParam == VK_RETURN || message.wParam == VK_ESCAPE;
    if (key && enterOrEsc && (message.hwnd == Command1 || message.hwnd == Command2))
        return true;
    return IsDialogMessageW(window_.get(), &message) != 0;
}

LRESULT CALLBACK OptionsDialog::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (auto* dialog = OwnedWindow::ownerOf<OptionsDialog>(window))
        return dialog->handle(message, wParam, lParam);
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT OptionsDialog::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        command(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_CLOSE:
        runGuarded(platform_, [this] { Form_Unload(); });
        return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return colours(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ACTIVATE:
        activated(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case kDpiChanged: {
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        runGuarded(platform_, [&] { dpiChanged(HIWORD(wParam), suggested); });
        return 0;
    }
    default:
        return DefWindowProcW(window_.get(), message, wParam, lParam);
    }
}

void OptionsDialog::command(int id, int notification)
{
    if (notification != BN_CLICKED) // STN_CLICKED has the same value
        return;
    switch (id) {
    case IdCommand1:
        runGuarded(platform_, [this] { Command1_Click(); });
        break;
    case IdCommand2:
        runGuarded(platform_, [this] { Command2_Click(); });
        break;
    case IdLabel5:
        runGuarded(platform_, [this] { Label5_Click(); });
        break;
    case IdLabel6:
        runGuarded(platform_, [this] { Label6_Click(); });
        break;
    default:
        break;
    }
}

// The captions green on the black of the window, "ANO" and "NE" as chosen;
// the gap boxes black on dark green; the size list bright green on black,
// its field and its drop-down list alike.
LRESULT OptionsDialog::colours(UINT message, HDC dc, HWND control)
{
    if (control == Text1 || control == Text2 || control == Label7) {
        SetTextColor(dc, colorRef(control == Label7 ? HEAD_COLOUR : BLACK));
        SetBkColor(dc, colorRef(TRAIL_COLOUR));
        return brushResult(trailBrush_.get());
    }
    if (message == WM_CTLCOLORSTATIC && control != Combo1) {
        Colour colour = CAPTION_COLOUR;
        if (control == Label5)
            colour = bannerShown_ == 1 ? kChosenColour : kUnchosenColour;
        else if (control == Label6)
            colour = bannerShown_ == 0 ? kChosenColour : kUnchosenColour;
        SetTextColor(dc, colorRef(colour));
        SetBkMode(dc, TRANSPARENT);
        return brushResult(blackBrush());
    }
    SetTextColor(dc, colorRef(HEAD_COLOUR));
    SetBkColor(dc, colorRef(BLACK));
    return brushResult(blackBrush());
}

// A top-level window that is not a dialog box keeps no focus of its own:
// the focus goes back where it was when the dialog is active again (after
// a message box, or after the user was in another window).
void OptionsDialog::activated(bool active)
{
    if (!active) {
        const HWND focus = GetFocus();
        if (focus && IsChild(window_.get(), focus))
            lastFocus_ = focus;
        return;
    }
    SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : Combo1);
}

// Moved to a monitor of another resolution: the design at that resolution,
// in the place the system suggests.
void OptionsDialog::dpiChanged(unsigned dpi, const RECT& suggested)
{
    layOut(dpi);
    SetWindowPos(window_.get(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Measures with the one rule that loading and saving share, and leaves the
// hidden measuring label at that font and size, as the last measuring left it.
// The store keeps cell sizes in the pixels in which the saver lays out its
// grid, 96 to the inch, and a denser screen draws them larger, as on Linux;
// so the letter is measured at 96 DPI whatever the dialog's own resolution,
// and the hidden label shows it at the dialog's.
LetterSize OptionsDialog::measureLetter(double pointSize)
{
    LetterSize letter;
    {
        const GdiFont designFont = measuringFont(pointSize, kDesignDpi);
        const WindowDc dc(Label7);
        letter = letterSize(dc.get(), designFont.get());
    }
    GdiFont font = measuringFont(pointSize, dpi_);
    SendMessageW(Label7, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    SetWindowPos(Label7, nullptr, 0, 0, scaledLength(letter.width, dpi_), scaledLength(letter.height, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    measuringFont_ = std::move(font);
    return letter;
}

void OptionsDialog::listFontSizes()
{
    SendMessageW(Combo1, CB_RESETCONTENT, 0, 0);
    for (std::string_view size : kFontSizes)
        SendMessageW(Combo1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(toWide(size).c_str()));
}

void OptionsDialog::selectFontSize(const std::string& text)
{
    const std::wstring wide = toWide(text);
    LRESULT index = CB_ERR;
    if (!wide.empty())
        index = SendMessageW(Combo1, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide.c_str()));
    SendMessageW(Combo1, CB_SETCURSEL, static_cast<WPARAM>(index == CB_ERR ? -1 : index), 0);
}

std::string OptionsDialog::selectedFontSize() const
{
    const LRESULT index = SendMessageW(Combo1, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return {};
    const LRESULT length = SendMessageW(Combo1, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR)
        return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(Combo1, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<std::size_t>(copied));
    return toUtf8(text);
}

void OptionsDialog::setGaps(const std::string& columnGap, const std::string& rowGap)
{
    SetWindowTextW(Text1, toWide(columnGap).c_str());
    SetWindowTextW(Text2, toWide(rowGap).c_str());
}

std::string OptionsDialog::columnGap() const
{
    return windowText(Text1);
}

std::string OptionsDialog::rowGap() const
{
    return windowText(Text2);
}

void OptionsDialog::showBannerChoice(int choice)
{
    bannerShown_ = choice;
    InvalidateRect(Label5, nullptr, TRUE);
    InvalidateRect(Label6, nullptr, TRUE);
}

} // namespace korval::windows
