#include "UserNumberFormat.h"

#include "WideText.h"
#include "Win32.h"

#include <optional>
#include <string>

namespace korval::windows {

namespace {

std::optional<std::wstring> localeText(LCTYPE type)
{
    wchar_t buffer[88]; // LOCALE_SNATIVEDIGITS and every sign fit with room to spare
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type, buffer, 88);
    if (length <= 1)
        return std::nullopt;
    return std::wstring(buffer, static_cast<std::size_t>(length - 1));
}

void take(std::string& sign, LCTYPE type)
{
    if (const std::optional<std::wstring> text = localeText(type))
        sign = toUtf8(*text);
}

} // namespace

// A sign the locale leaves empty (most leave the plus sign empty) keeps the
// default: the conversions need a sign to recognise.
RegionalFormat userNumberFormat()
{
    RegionalFormat format;
    take(format.decimalSign, LOCALE_SDECIMAL);
    take(format.groupSign, LOCALE_STHOUSAND);
    take(format.minusSign, LOCALE_SNEGATIVESIGN);
    take(format.plusSign, LOCALE_SPOSITIVESIGN);
    // 2: the user sees national digits; 0 (by context) and 1 (none) show ASCII ones.
    const std::optional<std::wstring> substitution = localeText(LOCALE_IDIGITSUBSTITUTION);
    const std::optional<std::wstring> digits = localeText(LOCALE_SNATIVEDIGITS);
    if (substitution == L"2" && digits && digits->size() == 10)
        format.zeroDigit = static_cast<char32_t>((*digits)[0]);
    return format;
}

} // namespace korval::windows
