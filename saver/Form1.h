#pragma once

#include "SaverState.h"

#include "engine/CellArray.h"
#include "engine/SaverWindow.h"
#include "engine/Stage.h"
#include "engine/WindowlessControl.h"
#include "platform/Platform.h"
#include "platform/Timer.h"

#include <cstdint>

namespace korval {

class SettingsStore;

// The saver form: a borderless, topmost, screen-sized black window covered by
// a grid of glyph cells (the control array M1), the banner caption Label1 in
// its frame Shape1, the animation timer Timer1 and the banner timer Timer2.
// Its handlers only change state and controls; its stage runs them and
// paints what they changed.
class Form1 {
public:
    Form1(Platform& platform, SettingsStore& store);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Turns the form into the saver screen: settings, size, grid, columns.
    void StartSaver();
    // Shows the form over the whole screen once start-up has finished.
    void show();

    // Event handlers.
    void Timer1_Timer();
    void Form_KeyPress(int keyAscii);
    void M1_Click(int index);
    void M1_MouseMove(int index);
    void Timer2_Timer();

    // Outer size in twips.
    double Width = 4035;
    double Height = 3465;

    SaverState state;
    CellArray M1;
    ShapeControl Shape1;
    LabelControl Label1;
    Timer Timer1;
    Timer Timer2;

    SaverWindow& window() { return window_; }

private:
    void SetTopMost(QWindow& form, std::int16_t& flag);
    void EndSaver();
    void designBanner();
    // Nothing may tick while an unhandled error's message box is open: the
    // grid may be in any state.
    void stopTimers();

    Platform& platform_;
    SettingsStore& store_;
    ScreenArea area_; // the primary screen, which the form covers
    SaverWindow window_;
    Stage stage_;
};

} // namespace korval
