#pragma once

#include "RuntimeError.h"

#include <cmath>
#include <limits>

// The platform's arithmetic where it differs from C++'s: division checks its
// divisor, and Int and the conversion to a whole number check their range.
namespace korval {

inline double divide(double dividend, double divisor)
{
    if (divisor == 0)
        throw dividend == 0 ? RuntimeError::overflow() : RuntimeError::divisionByZero();
    return dividend / divisor;
}

// The largest whole number not greater than x.
inline double Int(double x)
{
    return std::floor(x);
}

// A whole number as a count or an index; overflow outside the int range.
inline int toWhole(double x)
{
    if (!(x >= std::numeric_limits<int>::min() && x <= std::numeric_limits<int>::max()))
        throw RuntimeError::overflow();
    return static_cast<int>(x);
}

} // namespace korval
