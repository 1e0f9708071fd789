#include "TopmostKeeper.h"

// Built without X11: the window system keeps the saver's windows on top.
namespace korval {

std::unique_ptr<TopmostKeeper> TopmostKeeper::create()
{
    return nullptr;
}

} // namespace korval
