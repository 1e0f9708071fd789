#include "LocaleFormat.h"

namespace korval {

RegionalFormat regionalFormatOf(const QLocale& locale)
{
    RegionalFormat format;
    format.decimalSign = locale.decimalPoint().toStdString();
    format.groupSign = locale.groupSeparator().toStdString();
    format.minusSign = locale.negativeSign().toStdString();
    format.plusSign = locale.positiveSign().toStdString();
    format.exponentSign = locale.exponential().toStdString();
    // Right-to-left formats put direction marks around their signs; the
    // numbers are written and read without them.
    for (std::string* sign : {&format.minusSign, &format.plusSign, &format.exponentSign}) {
        for (const char* mark : {"\u200e", "\u200f", "\u061c"}) {
            for (std::size_t at = sign->find(mark); at != std::string::npos; at = sign->find(mark))
                sign->erase(at, std::char_traits<char>::length(mark));
        }
    }
    const QString zero = locale.zeroDigit();
    format.zeroDigit = zero.isEmpty() ? U'0' : zero.toUcs4().value(0, U'0');
    return format;
}

} // namespace korval
