#pragma once

#include "SaverState.h"

#include "platform/CellArray.h"
#include "platform/Platform.h"
#include "platform/SaverWindow.h"
#include "platform/Timer.h"
#include "platform/WindowlessControl.h"

#include <cstdint>

namespace korval {

class SettingsStore;

// The saver form: a borderless, topmost, screen-sized black window covered by
// a grid of glyph cells (the control array M1), the banner caption Label1 in
// its frame Shape1, the animation timer Timer1 and the banner timer Timer2.
// Its handlers only change state and controls; the window paints them.
class Form1 {
public:
    Form1(Platform& platform, SettingsStore& store);
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
    void buildGrid();
    void seedColumns();
    // Runs a handler under the platform's guard, so that an error in it
    // ends the program with its message instead of reaching Qt.
    template <class Handler>
    auto guarded(Handler handler);

    Platform& platform_;
    SettingsStore& store_;
    SaverWindow window_;
};

} // namespace korval
