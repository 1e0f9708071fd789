#pragma once

#include "CellArray.h"
#include "Controls.h"
#include "FormTimer.h"
#include "FormWindows.h"
#include "Grid.h"
#include "SaverState.h"
#include "ScreenRain.h"
#include "Stage.h"

#include "core/runtime/Platform.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace korval {

class SettingsStore;

// The saver form: a borderless, topmost, screen-sized black window covered by
// a grid of glyph cells (the control array M1), the banner caption Label1 in
// its frame Shape1, the animation timer Timer1 and the banner timer Timer2.
// The form covers the primary screen; every other screen gets its own grid
// of the same rain (ScreenRain), and the form follows screens that come, go
// or change while it runs. Its handlers only change state and controls; its
// stage runs them and has the front end's windows paint what they changed.
class Form1 {
public:
    // The timers and windows are the front end's; the form hands them its
    // handlers.
    Form1(Platform& platform, SettingsStore& store, FormTimer& timer1, FormTimer& timer2, FormWindows& windows);
    ~Form1();
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // Turns the form into the saver screen: settings, size, grid, columns,
    // and the same for every other screen.
    void StartSaver();

    // Event handlers.
    void Timer1_Timer();
    void Form_KeyPress(int keyAscii);
    void M1_Click(int index);
    void M1_MouseMove(int index);
    void Timer2_Timer();
    // The saver's windows lost the foreground to another program: it ends
    // at once, as after an exit trigger but without the banner, since the
    // user is already elsewhere. While an error's box is open the box is in
    // charge, and the error's end stands.
    void Form_Deactivate();

    // Screens came, went, moved or changed size, or another one became the
    // primary one: each keeps or gets its rain, and the form moves to the
    // primary screen with its banner. Nothing happens while no screen is left.
    void followScreens();

    // Outer size in twips.
    double Width = 4035;
    double Height = 3465;

    SaverState state;
    CellArray M1;
    ShapeControl Shape1;
    LabelControl Label1;
    FormTimer& Timer1;
    FormTimer& Timer2;

    // Runs the handlers and has the windows paint; the front end puts the
    // form's windows on it.
    Stage& stage() { return stage_; }
    // The screen the form covers: the primary one.
    const ScreenArea& area() const { return area_; }
    // The other screens' rain, in the order the platform lists the screens.
    const std::vector<std::unique_ptr<ScreenRain>>& otherScreens() const { return otherScreens_; }

private:
    // Keeps a window of the saver above all others (or lets it go); true on success.
    bool SetTopMost(const ScreenRain* screen, bool onTop);
    void EndSaver();
    void designBanner();
    void centreBanner();
    // Nothing may tick while an unhandled error's message box is open: the
    // grid may be in any state; and the box gets the keyboard and pointer.
    void stopForError();

    // Screens (Screens.cpp).
    void coverOtherScreens(const std::vector<ScreenArea>& screens);
    void showScreenRains(const std::vector<std::unique_ptr<ScreenRain>>& rains);
    void coverPrimary(ScreenArea&& area, std::optional<FreshGrid>&& grid);

    Platform& platform_;
    SettingsStore& store_;
    FormWindows& windows_;
    ScreenArea area_; // the primary screen, which the form covers
    std::vector<std::unique_ptr<ScreenRain>> otherScreens_;
    Stage stage_;
    bool stoppedForError_ = false;
};

} // namespace korval
