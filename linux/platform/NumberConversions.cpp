#include "NumberConversions.h"

#include "RuntimeError.h"

#include <QLocale>

#include <cmath>
#include <limits>

namespace korval {
namespace {

// Right-to-left formats (Hebrew, Arabic, Persian) write invisible direction
// marks around a minus sign that their own parser then refuses; without the
// marks a negative number the program wrote reads back.
QString withoutDirectionMarks(QString text)
{
    for (const char16_t mark : {u'\u200e', u'\u200f', u'\u061c'})
        text.remove(QChar(mark));
    return text;
}

// Parses in the user's format. Infinity and NaN are not numbers a user can
// type into a setting, so they count as a mismatch; a finite text whose value
// does not fit a double (1e309) is an overflow.
double parse(const QString& text)
{
    bool ok = false;
    const double value = QLocale().toDouble(withoutDirectionMarks(text).trimmed(), &ok);
    if (!ok) {
        if (std::isinf(value))
            throw RuntimeError::overflow();
        throw RuntimeError::typeMismatch();
    }
    if (!std::isfinite(value))
        throw RuntimeError::typeMismatch();
    return value;
}

QString format(double value, int significantDigits)
{
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    if (value == 0.0)
        value = 0.0; // "-0" reads and prints as 0
    return locale.toString(value, 'g', significantDigits);
}

} // namespace

float toSingle(const QString& text)
{
    const double value = parse(text);
    if (std::fabs(value) > std::numeric_limits<float>::max())
        throw RuntimeError::overflow();
    return static_cast<float>(value);
}

double toDouble(const QString& text)
{
    return parse(text);
}

QString singleToText(float value)
{
    return format(static_cast<double>(value), 7);
}

QString doubleToText(double value)
{
    return format(value, 15);
}

} // namespace korval
