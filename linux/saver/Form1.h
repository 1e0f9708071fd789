#pragma once

#include "core/saver/SaverState.h"
#include "core/saver/ScreenRain.h"

#include "core/saver/CellArray.h"
#include "engine/InputGrab.h"
#include "engine/SaverWindow.h"
#include "core/saver/Stage.h"
#include "engine/TopmostKeeper.h"
#include "core/saver/Controls.h"
#include "core/runtime/Platform.h"
#include "platform/Timer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace korval {

class SettingsStore;

// The saver form: a borderless, topmost, screen-sized black window covered by
// a grid of glyph cells (the control array M1), the banner caption Label1 in
// its frame Shape1, the animation timer Timer1 and the banner timer Timer2.
// The form covers the primary screen; every other screen gets a window of
// its own with its own grid of the same rain (ScreenRain), and the form
// follows screens that come, go or change while it runs. Its handlers only
// change state and controls; its stage runs them and paints what they
// changed on every window.
class Form1 {
public:
    Form1(Platform& platform, SettingsStore& store);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Turns the form into the saver screen: settings, size, grid, columns,
    // and the same for every other screen.
    void StartSaver();
    // Shows the form over the primary screen and the other screens' windows
    // over theirs once start-up has finished, on top and holding the
    // keyboard and the pointer.
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
    // The screen the form covers: the primary one.
    const ScreenArea& area() const { return area_; }
    // The other screens' rain, in the order the platform lists the screens.
    const std::vector<std::unique_ptr<ScreenRain>>& otherScreens() const { return otherScreens_; }
    const InputGrab& inputGrab() const { return grab_; }

private:
    void SetTopMost(QWindow& form, std::int16_t& flag);
    void EndSaver();
    void designBanner();
    void centreBanner();
    // Nothing may tick while an unhandled error's message box is open: the
    // grid may be in any state; and the box gets the keyboard and pointer.
    void stopForError();

    // Screens (Screens.cpp).
    void coverOtherScreens(const std::vector<ScreenArea>& screens);
    std::unique_ptr<ScreenRain> newScreenRain(const ScreenArea& area);
    void showOnScreens();
    void coverPrimary(const ScreenArea& area);
    void followScreens();
    void place(SaverWindow& window, const ScreenArea& area);
    std::vector<SaverWindow*> windows();
    void keepOnTop();

    Platform& platform_;
    SettingsStore& store_;
    ScreenArea area_; // the primary screen, which the form covers
    SaverWindow window_;
    std::vector<std::unique_ptr<ScreenRain>> otherScreens_;
    Stage stage_;
    InputGrab grab_;
    std::unique_ptr<TopmostKeeper> topmost_;
    bool shown_ = false;
};

} // namespace korval
