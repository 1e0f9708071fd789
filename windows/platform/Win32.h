#pragma once

// Windows' API as the front end includes it. The rules' platform header comes
// first: <windows.h> defines MB_OK as a macro, which would rewrite the rules'
// constant of that name in any header read after it.
#include "core/runtime/Platform.h"

#include <windows.h>
