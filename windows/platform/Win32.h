#pragma once

// Windows' API as the front end includes it: the common parts only, and
// without the min and max macros that would rewrite std::min and std::max.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
