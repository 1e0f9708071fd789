#pragma once

#include "RegionalFormat.h"

#include <string>
#include <string_view>

// Conversions between texts and numbers in the user's regional number format.
// A text that is not a number raises the type-mismatch error; a number too
// large for the target type raises the overflow error. Spaces around the
// number, and the direction marks that right-to-left formats put around a
// sign, are no part of it.
namespace korval {

float toSingle(std::string_view text, const RegionalFormat& format);
double toDouble(std::string_view text, const RegionalFormat& format);

// Up to 7 significant digits, no digit grouping, no decimal part for a whole value.
std::string singleToText(float value, const RegionalFormat& format);
// Up to 15 significant digits, otherwise as singleToText.
std::string doubleToText(double value, const RegionalFormat& format);

// A whole number as decimal text, as the store writes a default.
std::string wholeToText(long long value);

} // namespace korval
