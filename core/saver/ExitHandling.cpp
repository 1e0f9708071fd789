#include "Form1.h"

#include "core/runtime/NumberConversions.h"

namespace korval {
namespace {

// The mouse-move event that brings the count to exactly this ends the saver;
// later ones never do, so a pointer that keeps moving cannot end it twice.
constexpr int MOVE_LIMIT = 8;

// Where a control goes so that its centre sits on the form's centre. The form
// is measured in twips and always divided by 15, whatever the display's own
// twips per pixel; the control is measured in pixels.
float centred(double formTwips, float controlPixels)
{
    return static_cast<float>(formTwips / TWIPS_PER_PIXEL / 2 - double(controlPixels) / 2);
}

} // namespace

void Form1::Form_KeyPress(int)
{
    EndSaver();
}

void Form1::M1_Click(int)
{
    EndSaver();
}

void Form1::M1_MouseMove(int)
{
    state.moveCount += 1;
    if (state.moveCount == MOVE_LIMIT)
        EndSaver();
}

// Either ends the program at once or freezes the rain under the banner and
// lets Timer2 end it. The stored flag is compared as a number, so "01" asks
// for the banner too; a flag that is no number raises the type mismatch,
// which the handler guard reports before anything here has changed.
void Form1::EndSaver()
{
    if (toDouble(state.bannerFlag, platform_.regionalFormat()) != 1) {
        platform_.showPointer();
        platform_.endProgram(0);
        return;
    }
    centreBanner();
    Label1.setVisible(true);
    Shape1.setVisible(true);
    Timer1.setEnabled(false);
    Timer2.setEnabled(true);
    platform_.showPointer();
}

// The caption and its frame share the form's centre, reckoned at 15 twips to
// the pixel.
void Form1::centreBanner()
{
    Label1.setLeft(centred(Width, Label1.width()));
    Label1.setTop(centred(Height, Label1.height()));
    Shape1.setLeft(centred(Width, Shape1.width()));
    Shape1.setTop(centred(Height, Shape1.height()));
}

void Form1::Form_Deactivate()
{
    if (stoppedForError_)
        return;
    platform_.showPointer();
    platform_.endProgram(0);
}

void Form1::Timer2_Timer()
{
    platform_.endProgram(0);
}

} // namespace korval
