#include "Form1.h"

namespace korval {

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
    if (state.moveCount == 8)
        EndSaver();
}

void Form1::EndSaver()
{
    platform_.ShowCursor(true);
    platform_.endProgram(0);
}

void Form1::Timer2_Timer()
{
    platform_.endProgram(0);
}

} // namespace korval
