#pragma once

#include "core/runtime/RegionalFormat.h"

#include <QLocale>

namespace korval {

// The signs and digits of a Qt locale, as the rules' number conversions read
// and write them.
RegionalFormat regionalFormatOf(const QLocale& locale);

} // namespace korval
