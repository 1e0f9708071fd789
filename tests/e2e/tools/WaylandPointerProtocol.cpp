// The virtual pointer protocol's tables, which wayland-scanner writes as C,
// compiled as C++ like the rest of the program. The header comes first: its
// declarations give the tables the C linkage that the tool's calls look for
// (a const table of C++ alone would stay inside this file), and the hidden
// visibility that the tables ask for afterwards, too late, is no matter in
// a program.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wattributes"
#include "wlr-virtual-pointer-unstable-v1-protocol.c"
#pragma GCC diagnostic pop
