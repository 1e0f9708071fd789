#pragma once

// The Linux tests use the same fake platform as the rules' tests.
#include "core/support/FakePlatform.h"
