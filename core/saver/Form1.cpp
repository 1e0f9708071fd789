#include "Form1.h"

#include "CellSettings.h"
#include "GlyphRain.h"
#include "Grid.h"
#include "Palette.h"

#include "core/settings/SettingKeys.h"
#include "core/settings/SettingsStore.h"

namespace korval {

Form1::Form1(Platform& platform, SettingsStore& store, FormTimer& timer1, FormTimer& timer2, FormWindows& windows)
    : M1(templateCell(), CellFont{}), Timer1(timer1), Timer2(timer2), platform_(platform), store_(store),
      windows_(windows), stage_(platform)
{
    designBanner();
    stage_.setInput({[this](int key) { Form_KeyPress(key); }, [this](int cell) { M1_Click(cell); },
                     [this](int cell) { M1_MouseMove(cell); }, [this] { Form_Deactivate(); }});
    Timer1.setTickHandler(stage_.handler([this] { Timer1_Timer(); }));
    Timer2.setTickHandler(stage_.handler([this] { Timer2_Timer(); }));
    platform_.setUnhandledErrorHook([this] { stopForError(); });
}

Form1::~Form1()
{
    Timer1.setTickHandler({});
    Timer2.setTickHandler({});
    platform_.setUnhandledErrorHook({});
    platform_.setScreensChangedHandler({});
}

void Form1::designBanner()
{
    Label1.caption = "SYSTEM FAILURE";
    Label1.foreColour = HEAD_COLOUR;
    Label1.backColour = BLACK;
    Label1.fontSize = 13.5f;
    Label1.fontWeight = 700;
    Label1.setSize(175, 24);
    Label1.setLeft(705 / 15.0f);
    Label1.setTop(1560 / 15.0f);

    Shape1.borderColour = HEAD_COLOUR;
    Shape1.backColour = BLACK;
    Shape1.setSize(185, 33);
    Shape1.setLeft(600 / 15.0f);
    Shape1.setTop(1500 / 15.0f);
}

void Form1::stopForError()
{
    stoppedForError_ = true;
    Timer1.setEnabled(false);
    Timer2.setEnabled(false);
    windows_.releaseInput();
}

void Form1::StartSaver()
{
    if (platform_.anotherInstanceRunning()) {
        platform_.endProgram(0);
        return;
    }
    SetTopMost(nullptr, true);
    platform_.hidePointer();

    applyCellSettings(M1, store_, platform_.regionalFormat());
    state.bannerFlag = store_.storedOrSaverDefault(settings::kSystem);

    platform_.random().seedFromClock();

    const std::vector<ScreenArea> screens = platform_.screens();
    area_ = screens.empty() ? ScreenArea{} : screens.front();
    const SizeF screen = area_.twips();
    Width = screen.width;
    Height = screen.height;
    layOutGrid(state, M1, screen);
    seedColumns(state, platform_.random());
    coverOtherScreens(screens);
    platform_.setScreensChangedHandler(stage_.handler([this] { followScreens(); }));
}

// One frame on every screen, the primary first, from the one random source.
void Form1::Timer1_Timer()
{
    glyphRainTick(state, M1, platform_.random());
    for (const std::unique_ptr<ScreenRain>& screen : otherScreens_)
        glyphRainTick(screen->state, screen->M1, platform_.random());
}

bool Form1::SetTopMost(const ScreenRain* screen, bool onTop)
{
    return onTop ? windows_.keepOnTop(screen) : windows_.leaveTop(screen);
}

} // namespace korval
