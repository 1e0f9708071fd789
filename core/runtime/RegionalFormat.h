#pragma once

#include <string>

namespace korval {

// The user's regional number format, as far as the conversions between texts
// and numbers need it. Each sign is UTF-8 text (a format may use a no-break
// space to group digits, or U+2212 as its minus sign); digits are the ten
// code points from zeroDigit on, and the ASCII digits are read everywhere.
// The front end reads the format from its system once and hands it in.
struct RegionalFormat {
    std::string decimalSign = ".";
    std::string groupSign = ",";
    std::string minusSign = "-";
    std::string plusSign = "+";
    std::string exponentSign = "e";
    char32_t zeroDigit = U'0';

    bool operator==(const RegionalFormat&) const = default;
};

} // namespace korval
