#pragma once

#include "DialogFonts.h"
#include "DialogLayout.h"

#include "windows/platform/OwnedWindow.h"
#include "windows/platform/Win32.h"

#include "core/options/Form2.h"

#include <string>

namespace korval::windows {

// The options dialog on Windows: the dialog's steps (Form2) shown in Win32
// controls that keep the controls' own names, on a black top-level window of
// its own class. The hidden measuring label Label7 measures the letter "M".
// Every handler runs under the handler guard.
class OptionsDialog final : private OptionsView, public Form2 {
public:
    // The controls' identifiers. None is IDOK or IDCANCEL, which the dialog
    // manager sends for Enter and Esc: those keys press no button.
    enum ControlId : int {
        IdLabel1 = 101,
        IdCombo1,
        IdLabel2,
        IdText1,
        IdLabel3,
        IdText2,
        IdCommand1,
        IdCommand2,
        IdLabel4,
        IdLabel5,
        IdLabel6,
        IdLabel7,
    };

    // Makes the window and its controls, hidden; owner: the window it stays
    // above, or none.
    OptionsDialog(Platform& platform, SettingsStore& store, HWND owner);
    ~OptionsDialog() override;
    OptionsDialog(const OptionsDialog&) = delete;
    OptionsDialog& operator=(const OptionsDialog&) = delete;

    HWND window() const { return window_.get(); }
    unsigned dpi() const { return dpi_; }

    // Runs Form_Load, then shows the dialog with the focus in the size list.
    void open();

    // A message on its way from the queue: true when the dialog has dealt
    // with it (Tab and the other dialog keys), so it is not dispatched.
    bool preTranslate(MSG& message);

private:
    Platform& platform_;
    unsigned dpi_ = kDesignDpi;
    GdiFont captionFont_{nullptr, &DeleteObject};
    GdiFont defaultFont_{nullptr, &DeleteObject};
    GdiFont measuringFont_{nullptr, &DeleteObject};
    std::unique_ptr<std::remove_pointer_t<HBRUSH>, decltype(&DeleteObject)> trailBrush_;
    int bannerShown_ = 1;
    HWND lastFocus_ = nullptr;

    // The controls, in tab-index order.
    HWND Label1{}, Combo1{}, Label2{}, Text1{}, Label3{}, Text2{};
    HWND Command1{}, Command2{}, Label4{}, Label5{}, Label6{}, Label7{};

    // The last member, so the first to go: the window and its controls
    // before the fonts and the brush they use.
    OwnedWindow window_;

    struct ControlDesign;
    static const ControlDesign kDesign[];

    // What the steps ask of the controls.
    void listFontSizes() override;
    void selectFontSize(const std::string& text) override;
    std::string selectedFontSize() const override;
    void setGaps(const std::string& columnGap, const std::string& rowGap) override;
    std::string columnGap() const override;
    std::string rowGap() const override;
    void showBannerChoice(int choice) override;
    LetterSize measureLetter(double pointSize) override;

    void createControls();
    void layOut(unsigned dpi);
    void placeWindow();

    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void command(int id, int notification);
    LRESULT colours(UINT message, HDC dc, HWND control);
    void activated(bool active);
    void dpiChanged(unsigned dpi, const RECT& suggested);
};

} // namespace korval::windows
