#pragma once

#include "OptionsView.h"

#include "core/runtime/Platform.h"

namespace korval {

class SettingsStore;

// The options dialog's steps: the font size of the glyph rain, the gaps
// between its columns and between its letters, and whether the "SYSTEM
// FAILURE" banner shows before the saver ends. The store keeps whole cell
// sizes; the dialog shows and takes gaps, converting with the natural size
// of the letter "M" that the view measures.
class Form2 {
public:
    Form2(Platform& platform, SettingsStore& store, OptionsView& view);
    virtual ~Form2() = default;
    Form2(const Form2&) = delete;
    Form2& operator=(const Form2&) = delete;

    // Fills the list and the fields from the store; runs once, before the
    // dialog shows.
    void Form_Load();

    // "ANO" and "NE": choose whether the banner shows.
    void Label5_Click();
    void Label6_Click();
    // OK: checks, stores the four settings and ends the program, or shows why not.
    void Command1_Click();
    // CANCEL, and closing the window: end the program, storing nothing.
    void Command2_Click();
    void Form_Unload();

    // 1: show the banner before the saver ends ("ANO"); 0: do not ("NE").
    int bannerChoice = 1;

    // The measuring rule that loading and saving share.
    LetterMeasure measure();

private:
    Platform& platform_;
    SettingsStore& store_;
    OptionsView& view_;
};

// The dialog's messages as its users know them, misspellings included
// ("všecchny"): do not correct them.
inline constexpr const char* kFillEverything = "Musí být vyplněny všecchny údaje";
inline constexpr const char* kWholeNumbersOnly = "Zadávejte pouze celá čísla";

} // namespace korval
