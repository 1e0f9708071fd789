#pragma once

#include "core/runtime/RegionalFormat.h"

// Regional number formats as users have them, for tests of the conversions
// and of everything that reads numbers.
namespace korval::testing {

// The invariant format: "13.5", groups of "1,000".
inline RegionalFormat invariantFormat()
{
    return {};
}

// Czech: "13,5", groups of "1 000" with a no-break space.
inline RegionalFormat czechFormat()
{
    RegionalFormat format;
    format.decimalSign = ",";
    format.groupSign = "\u00a0";
    return format;
}

// German: "13,5", groups of "1.000".
inline RegionalFormat germanFormat()
{
    RegionalFormat format;
    format.decimalSign = ",";
    format.groupSign = ".";
    return format;
}

// Arabic as written in Egypt: its own digits and signs, and direction marks
// around the minus sign that the format's own reader refuses.
inline RegionalFormat arabicFormat()
{
    RegionalFormat format;
    format.decimalSign = "\u066b";
    format.groupSign = "\u066c";
    format.minusSign = "-";
    format.exponentSign = "\u0623\u0633";
    format.zeroDigit = U'\u0660';
    return format;
}

} // namespace korval::testing
