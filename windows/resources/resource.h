#pragma once

// Identifiers of the program's resources (resources.rc).

// String table entry 1: the name Windows lists among the screen savers.
#define IDS_DESCRIPTION 1
#define IDI_KORVAL 100
