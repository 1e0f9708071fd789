#pragma once

#include <QString>

// Conversions between texts and numbers in the user's regional number format
// (the default QLocale, which is the system's unless a test sets another).
// A text that is not a number raises the type-mismatch error; a number too
// large for the target type raises the overflow error.
namespace korval {

float toSingle(const QString& text);
double toDouble(const QString& text);

// Up to 7 significant digits, no digit grouping, no decimal part for a whole value.
QString singleToText(float value);
// Up to 15 significant digits, otherwise as singleToText.
QString doubleToText(double value);

} // namespace korval
