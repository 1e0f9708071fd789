#include "NumberConversions.h"

#include "RuntimeError.h"
#include "Utf8.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace korval {
namespace {

// What a code point of the number stands for, in the plain spelling that
// std::from_chars reads: a digit, '.', '-', '+', 'e', or ',' for a group
// sign. Nothing for anything else.
class Signs {
public:
    explicit Signs(const RegionalFormat& format) : format_(format) {}

    // The sign at `position` (which moves past it), or nothing.
    std::optional<char> next(std::string_view text, std::size_t& position) const
    {
        for (const auto& [sign, plain] : {std::pair{&format_.decimalSign, '.'}, {&format_.groupSign, ','},
                                          {&format_.minusSign, '-'}, {&format_.plusSign, '+'},
                                          {&format_.exponentSign, 'e'}}) {
            if (!sign->empty() && text.substr(position, sign->size()) == *sign) {
                position += sign->size();
                return plain;
            }
        }
        const char32_t codePoint = utf8::next(text, position);
        if (codePoint >= U'0' && codePoint <= U'9')
            return static_cast<char>(codePoint);
        if (codePoint >= format_.zeroDigit && codePoint <= format_.zeroDigit + 9)
            return static_cast<char>('0' + (codePoint - format_.zeroDigit));
        switch (codePoint) {
        case U'-':
        case U'\u2212':
            return '-';
        case U'+':
            return '+';
        case U'e':
        case U'E':
            return 'e';
        case U' ':
        case U'\u00a0':
        case U'\u202f':
            // A format that groups with a no-break space reads a plain one too.
            if (format_.groupSign == "\u00a0" || format_.groupSign == "\u202f")
                return ',';
            return std::nullopt;
        default:
            return std::nullopt;
        }
    }

private:
    const RegionalFormat& format_;
};

bool isSpace(char32_t c)
{
    return c == U' ' || (c >= U'\t' && c <= U'\r') || c == U'\u00a0' || c == U'\u0085' || c == U'\u2028'
           || c == U'\u2029' || c == U'\u3000' || (c >= U'\u2000' && c <= U'\u200a') || c == U'\u202f'
           || c == U'\u205f';
}

bool isDirectionMark(char32_t c)
{
    return c == U'\u200e' || c == U'\u200f' || c == U'\u061c';
}

// The number's own text: without direction marks and the spaces around it.
std::string bareText(std::string_view text)
{
    std::string bare;
    std::size_t position = 0;
    while (position < text.size()) {
        const std::size_t start = position;
        const char32_t c = utf8::next(text, position);
        if (!isDirectionMark(c))
            bare.append(text.substr(start, position - start));
    }
    std::size_t first = 0;
    std::size_t end = bare.size();
    for (std::size_t position = 0; position < bare.size();) {
        if (!isSpace(utf8::next(bare, position)))
            break;
        first = position;
    }
    while (end > first) {
        std::size_t start = end - 1;
        while (start > first && (static_cast<unsigned char>(bare[start]) & 0xC0) == 0x80)
            --start;
        std::size_t position = start;
        if (!isSpace(utf8::next(bare, position)))
            break;
        end = start;
    }
    return bare.substr(first, end - first);
}

// The number in the plain spelling: [sign] digits [. digits] [e [sign] digits],
// group signs only between digits of the whole part, each followed by three
// digits. Nothing when the text is not such a number.
std::optional<std::string> plainSpelling(std::string_view text, const RegionalFormat& format)
{
    const Signs signs(format);
    std::string plain;
    std::size_t position = 0;
    enum class Part { Sign, Whole, Fraction, ExponentSign, Exponent } part = Part::Sign;
    int digitsSinceGroup = -1; // -1: no group sign yet
    int wholeDigits = 0;
    bool mantissaDigits = false;
    bool exponentDigits = false;
    while (position < text.size()) {
        const std::optional<char> sign = signs.next(text, position);
        if (!sign)
            return std::nullopt;
        const char c = *sign;
        if (c >= '0' && c <= '9') {
            if (part == Part::Sign)
                part = Part::Whole;
            if (part == Part::ExponentSign)
                part = Part::Exponent;
            if (part == Part::Exponent)
                exponentDigits = true;
            else
                mantissaDigits = true;
            if (part == Part::Whole) {
                ++wholeDigits;
                if (digitsSinceGroup >= 0)
                    ++digitsSinceGroup;
            }
            plain += c;
            continue;
        }
        if (part == Part::Whole && digitsSinceGroup >= 0 && digitsSinceGroup != 3)
            return std::nullopt;
        if ((c == '-' || c == '+') && (part == Part::Sign || part == Part::ExponentSign)) {
            if (c == '-')
                plain += c;
            part = part == Part::Sign ? Part::Whole : Part::Exponent;
        } else if (c == ',' && part == Part::Whole && mantissaDigits && (digitsSinceGroup >= 0 || wholeDigits <= 3)) {
            digitsSinceGroup = 0;
        } else if (c == '.' && (part == Part::Sign || part == Part::Whole)) {
            plain += c;
            part = Part::Fraction;
        } else if (c == 'e' && mantissaDigits && (part == Part::Whole || part == Part::Fraction)) {
            plain += c;
            part = Part::ExponentSign;
        } else {
            return std::nullopt;
        }
    }
    if (part == Part::Whole && digitsSinceGroup >= 0 && digitsSinceGroup != 3)
        return std::nullopt;
    const bool exponentOpen = part == Part::ExponentSign || (part == Part::Exponent && !exponentDigits);
    if (!mantissaDigits || exponentOpen)
        return std::nullopt;
    return plain;
}

// Whether a number that std::from_chars found out of range is too large (not
// too small): its whole digits plus its exponent put it above 1.
bool tooLarge(std::string_view plain)
{
    long long magnitude = 0;
    std::size_t position = plain.front() == '-' ? 1 : 0;
    bool significant = false;
    for (; position < plain.size() && plain[position] != 'e'; ++position) {
        const char c = plain[position];
        if (c == '.')
            break;
        significant = significant || c != '0';
        if (significant)
            ++magnitude;
    }
    const std::size_t e = plain.find('e');
    if (e != std::string_view::npos) {
        long long exponent = 0;
        const char* first = plain.data() + e + 1;
        const auto [end, error] = std::from_chars(first, plain.data() + plain.size(), exponent);
        // An exponent beyond 64 bits decides alone: far too large or far too small.
        if (error == std::errc::result_out_of_range)
            return *first != '-';
        if (exponent > 0 && magnitude > std::numeric_limits<long long>::max() - exponent)
            return true;
        magnitude += exponent;
    }
    return magnitude > 0;
}

// Parses in the user's format. Infinity and NaN are no numbers a user can
// type into a setting; a finite text whose value does not fit a double
// (1e309) is an overflow, one too small to tell from 0 reads as 0.
double parse(std::string_view text, const RegionalFormat& format)
{
    const std::optional<std::string> plain = plainSpelling(bareText(text), format);
    if (!plain)
        throw RuntimeError::typeMismatch();
    double value = 0;
    const auto [end, error] = std::from_chars(plain->data(), plain->data() + plain->size(), value);
    if (error == std::errc::result_out_of_range) {
        if (tooLarge(*plain))
            throw RuntimeError::overflow();
        return 0.0;
    }
    if (error != std::errc() || end != plain->data() + plain->size() || !std::isfinite(value))
        throw RuntimeError::typeMismatch();
    return value;
}

std::string format(double value, int significantDigits, const RegionalFormat& format)
{
    if (value == 0.0)
        value = 0.0; // "-0" reads and prints as 0
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general,
                                            significantDigits);
    std::string text;
    for (const char* c = buffer; error == std::errc() && c != end; ++c) {
        switch (*c) {
        case '-':
            text += format.minusSign;
            break;
        case '+':
            text += format.plusSign;
            break;
        case '.':
            text += format.decimalSign;
            break;
        case 'e':
            text += format.exponentSign;
            break;
        default:
            if (*c >= '0' && *c <= '9')
                utf8::append(text, format.zeroDigit + static_cast<char32_t>(*c - '0'));
            else
                text += *c;
        }
    }
    return text;
}

} // namespace

float toSingle(std::string_view text, const RegionalFormat& format)
{
    const double value = parse(text, format);
    if (std::fabs(value) > std::numeric_limits<float>::max())
        throw RuntimeError::overflow();
    return static_cast<float>(value);
}

double toDouble(std::string_view text, const RegionalFormat& format)
{
    return parse(text, format);
}

std::string singleToText(float value, const RegionalFormat& format)
{
    return korval::format(static_cast<double>(value), 7, format);
}

std::string doubleToText(double value, const RegionalFormat& format)
{
    return korval::format(value, 15, format);
}

std::string wholeToText(long long value)
{
    return std::to_string(value);
}

} // namespace korval
