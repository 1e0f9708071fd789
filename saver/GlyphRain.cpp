#include "Form1.h"

namespace korval {

void Form1::Timer1_Timer()
{
}

} // namespace korval
