#pragma once

#include <array>
#include <string_view>

namespace korval {

// The options dialog as designed: its title, its client area, and each
// control with its caption and its place in pixels from the top-left corner
// of the client area at 96 DPI. Every front end lays its dialog out from
// this table; the captions stand as the dialog's users know them,
// misspellings included ("SKOUPCI", "VÍSKA"): do not correct them.
enum class DialogControl { Label1, Combo1, Label2, Text1, Label3, Text2, Command1, Command2, Label4, Label5, Label6, Label7 };

// The captions' own face (12 points), or the dialog's (8.25 points).
enum class ControlFace { Caption, Default };

struct ControlDesign {
    DialogControl control;
    std::string_view caption; // UTF-8
    int left;
    int top;
    int width;
    int height;
    ControlFace face;
    bool sizedToCaption; // a caption label: as large as its text
};

inline constexpr std::string_view kDialogTitle{"OPTION KORVAL"};
inline constexpr int kDialogWidth = 323;
inline constexpr int kDialogHeight = 199;

// In tab-index order: the size list, the gap boxes and the buttons take the
// focus in this order; "ANO" and "NE" answer clicks; Label7 measures the
// letter "M" and never shows.
inline constexpr std::array<ControlDesign, 12> kDialogDesign{{
    {DialogControl::Label1, "VELIKOST PÍSMA", 8, 8, 136, 20, ControlFace::Caption, true},
    {DialogControl::Combo1, "", 152, 8, 73, 21, ControlFace::Default, false},
    {DialogControl::Label2, "MEZERY MEZI SKOUPCI(ŠÍŘKA)", 8, 48, 248, 20, ControlFace::Caption, true},
    {DialogControl::Text1, "", 264, 48, 49, 19, ControlFace::Default, false},
    {DialogControl::Label3, "MEZERY MEZI PÍSMENY(VÍSKA)", 8, 80, 246, 20, ControlFace::Caption, true},
    {DialogControl::Text2, "", 264, 80, 49, 19, ControlFace::Default, false},
    {DialogControl::Command1, "OK", 8, 168, 81, 25, ControlFace::Default, false},
    {DialogControl::Command2, "CANCEL", 232, 168, 81, 25, ControlFace::Default, false},
    {DialogControl::Label4, "ZOBRAZIT TEXT \"SYSTEM FAILURE\"", 8, 112, 283, 20, ControlFace::Caption, true},
    {DialogControl::Label5, "ANO", 104, 136, 36, 20, ControlFace::Caption, true},
    {DialogControl::Label6, "NE", 160, 136, 23, 20, ControlFace::Caption, true},
    {DialogControl::Label7, "M", 264, 0, 17, 17, ControlFace::Default, false},
}};

constexpr const ControlDesign& designOf(DialogControl control)
{
    for (const ControlDesign& design : kDialogDesign) {
        if (design.control == control)
            return design;
    }
    return kDialogDesign.front();
}

} // namespace korval
