#include "IniText.h"

#include <optional>

namespace korval::ini {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isLineEnd(char c) { return c == '\n' || c == '\r'; }

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octalValue(char c) { return c >= '0' && c <= '7' ? c - '0' : -1; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

void appendCodePoint(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

constexpr char32_t kReplacement = 0xfffd;

// The UTF-8 sequence at `at`: its code point and length, or nothing and the
// number of bytes that make up the broken start of a sequence (at least 1),
// which stand for one replacement character.
struct Decoded {
    std::optional<char32_t> codePoint;
    std::size_t length;
};

Decoded decodeAt(std::string_view bytes, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    if (lead < 0x80)
        return {lead, 1};
    std::size_t needed = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xbf;
    char32_t value = 0;
    if (lead >= 0xc2 && lead <= 0xdf) {
        needed = 1;
        value = lead & 0x1f;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        needed = 2;
        value = lead & 0x0f;
        if (lead == 0xe0)
            low = 0xa0; // no overlong forms
        if (lead == 0xed)
            high = 0x9f; // no surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        needed = 3;
        value = lead & 0x07;
        if (lead == 0xf0)
            low = 0x90;
        if (lead == 0xf4)
            high = 0x8f; // nothing beyond U+10FFFF
    } else {
        return {std::nullopt, 1};
    }
    std::size_t length = 1;
    for (; length <= needed; ++length) {
        if (at + length >= bytes.size())
            return {std::nullopt, length};
        const auto next = static_cast<unsigned char>(bytes[at + length]);
        if (next < low || next > high)
            return {std::nullopt, length};
        low = 0x80;
        high = 0xbf;
        value = (value << 6) | (next & 0x3f);
    }
    return {value, length};
}

// Text built from bytes of the file and from UTF-16 code units that escapes
// name; a high and a low surrogate named one after the other make one
// character, and a surrogate on its own becomes U+FFFD.
class TextBuilder {
public:
    void byte(char c)
    {
        settleSurrogate();
        bytes_ += c;
    }
    void bytes(std::string_view text)
    {
        settleSurrogate();
        bytes_ += text;
    }
    void codeUnit(char16_t unit)
    {
        if (unit >= 0xd800 && unit <= 0xdbff) {
            settleSurrogate();
            highSurrogate_ = unit;
        } else if (unit >= 0xdc00 && unit <= 0xdfff) {
            if (highSurrogate_ != 0) {
                appendCodePoint(bytes_, 0x10000 + ((char32_t(highSurrogate_) - 0xd800) << 10) + (unit - 0xdc00));
                highSurrogate_ = 0;
            } else {
                appendCodePoint(bytes_, kReplacement);
            }
        } else {
            settleSurrogate();
            appendCodePoint(bytes_, unit);
        }
    }
    // The text, every byte sequence that is not UTF-8 replaced.
    std::string text()
    {
        settleSurrogate();
        if (isUtf8(bytes_))
            return std::move(bytes_);
        std::string text;
        text.reserve(bytes_.size());
        for (std::size_t i = 0; i < bytes_.size();) {
            const Decoded decoded = decodeAt(bytes_, i);
            if (decoded.codePoint)
                text.append(bytes_, i, decoded.length);
            else
                appendCodePoint(text, kReplacement);
            i += decoded.length;
        }
        return text;
    }

private:
    void settleSurrogate()
    {
        if (highSurrogate_ != 0)
            appendCodePoint(bytes_, kReplacement);
        highSurrogate_ = 0;
    }

    std::string bytes_;
    char16_t highSurrogate_ = 0;
};

// The end of the line of the file that `from` is on, whatever quotes or
// escapes stand before it: where a comment ends.
std::size_t endOfLineAt(std::string_view text, std::size_t from)
{
    while (from < text.size() && !isLineEnd(text[from]))
        ++from;
    return from;
}

// How far a backslash at `at` reaches: the character it escapes, or a whole
// line end (LF, CR, CRLF or LFCR).
std::size_t afterEscape(std::string_view text, std::size_t at)
{
    std::size_t i = at + 1;
    if (i >= text.size())
        return i;
    const char escaped = text[i++];
    if (isLineEnd(escaped) && i < text.size() && isLineEnd(text[i]) && text[i] != escaped)
        ++i;
    return i;
}

} // namespace

Scanner::Scanner(std::string_view text)
    : text_(text), position_(text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0)
{
}

bool Scanner::next(Line& line)
{
    if (position_ >= text_.size())
        return false;
    line = Line{};
    line.start = position_;
    std::size_t i = position_;
    while (i < text_.size() && isBlank(text_[i]))
        ++i;
    line.contentStart = i;
    if (i == text_.size() || isLineEnd(text_[i])) {
        line.kind = LineKind::Blank;
        line.contentEnd = line.end = i;
    } else if (text_[i] == ';' || text_[i] == '#') {
        line.kind = LineKind::Comment;
        line.contentEnd = line.end = endOfLineAt(text_, i);
    } else {
        readContent(line);
    }
    line.section = section_;
    std::size_t next = line.end;
    if (next < text_.size())
        next += text_[next] == '\r' && next + 1 < text_.size() && text_[next + 1] == '\n' ? 2 : 1;
    line.next = position_ = next;
    return true;
}

// Reads what a line says, from `contentStart` on: up to a line end outside
// quotes or a ";" outside quotes. Sets the line's kind and key and value, and
// a header's section.
void Scanner::readContent(Line& line)
{
    bool quoted = false;
    std::size_t equals = std::string_view::npos;
    std::size_t i = line.contentStart;
    while (i < text_.size()) {
        const char c = text_[i];
        if (c == '\\') {
            i = afterEscape(text_, i);
            continue;
        }
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (isLineEnd(c) || c == ';'))
            break;
        else if (!quoted && c == '=' && equals == std::string_view::npos)
            equals = i;
        ++i;
    }
    const std::size_t said = i;
    line.contentEnd = said;
    while (line.contentEnd > line.contentStart && isBlank(text_[line.contentEnd - 1]))
        --line.contentEnd;
    line.end = said < text_.size() && text_[said] == ';' ? endOfLineAt(text_, said) : said;

    const std::string_view content = text_.substr(line.contentStart, line.contentEnd - line.contentStart);
    if (content.front() == '[') {
        line.kind = LineKind::Header;
        const std::size_t close = content.find(']');
        if (close == std::string_view::npos)
            unclosedHeader_ = true;
        section_ = name(trimmed(content.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1)));
    } else if (equals != std::string_view::npos) {
        line.kind = LineKind::Assignment;
        line.key = trimmed(text_.substr(line.contentStart, equals - line.contentStart));
        line.value = text_.substr(equals + 1, said - equals - 1);
    } else {
        line.kind = LineKind::Other;
    }
}

// "%XX" names a character up to U+00FF, "%UXXXX" a UTF-16 code unit; a "%"
// without its digits stands for itself.
std::string name(std::string_view written)
{
    TextBuilder name;
    for (std::size_t i = 0; i < written.size();) {
        const char c = written[i];
        if (c == '\\') {
            name.byte('/');
            ++i;
            continue;
        }
        if (c != '%' || i + 1 == written.size()) {
            name.byte(c);
            ++i;
            continue;
        }
        const bool wide = written[i + 1] == 'U';
        const std::size_t first = i + (wide ? 2 : 1);
        const std::size_t digits = wide ? 4 : 2;
        char16_t unit = 0;
        bool ok = first + digits <= written.size();
        for (std::size_t d = 0; ok && d < digits; ++d) {
            const int value = hexValue(written[first + d]);
            ok = value >= 0;
            unit = static_cast<char16_t>((unit << 4) | (value & 0xf));
        }
        if (!ok) {
            name.byte('%');
            ++i;
            continue;
        }
        name.codeUnit(unit);
        i = first + digits;
    }
    return name.text();
}

// Letters, digits, "_", "-" and "." as they are; "/" as "\"; any other
// UTF-16 code unit as "%XX" up to 0xFF and "%UXXXX" above.
std::string writtenName(std::string_view name)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string written;
    const auto percent = [&](char16_t unit) {
        written += '%';
        if (unit > 0xff) {
            written += 'U';
            written += kHex[(unit >> 12) & 0xf];
            written += kHex[(unit >> 8) & 0xf];
        }
        written += kHex[(unit >> 4) & 0xf];
        written += kHex[unit & 0xf];
    };
    for (std::size_t i = 0; i < name.size();) {
        const Decoded decoded = decodeAt(name, i);
        i += decoded.length;
        const char32_t c = decoded.codePoint.value_or(kReplacement);
        if (c == '/') {
            written += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                   || c == '-' || c == '.') {
            written += static_cast<char>(c);
        } else if (c >= 0x10000) {
            percent(static_cast<char16_t>(0xd800 + ((c - 0x10000) >> 10)));
            percent(static_cast<char16_t>(0xdc00 + ((c - 0x10000) & 0x3ff)));
        } else {
            percent(static_cast<char16_t>(c));
        }
    }
    return written;
}

// One pass over the value. Blanks outside quotes are held back until the
// next character shows what they are: at the value's start or end, and
// right after a closing quote, they are no part of it; before or after a
// comma, or between words, they are.
std::string valueText(std::string_view written)
{
    TextBuilder text;
    bool quoted = false;
    bool afterClosingQuote = false;
    bool started = false;
    std::size_t blanksFrom = std::string_view::npos;
    std::size_t i = 0;
    while (i < written.size()) {
        const char c = written[i];
        if (!quoted && isBlank(c)) {
            if (blanksFrom == std::string_view::npos)
                blanksFrom = i;
            ++i;
            continue;
        }
        if (blanksFrom != std::string_view::npos) {
            if (started && !(afterClosingQuote && c != ','))
                text.bytes(written.substr(blanksFrom, i - blanksFrom));
            blanksFrom = std::string_view::npos;
        }
        started = true;
        afterClosingQuote = false;
        if (c == '"') {
            quoted = !quoted;
            afterClosingQuote = !quoted;
            ++i;
            continue;
        }
        if (c != '\\') {
            text.byte(c);
            ++i;
            continue;
        }
        // An escape: a backslash at the very end is dropped, as is one
        // before a character it does not name.
        if (++i == written.size())
            break;
        const char escaped = written[i++];
        switch (escaped) {
        case 'a': text.byte('\a'); break;
        case 'b': text.byte('\b'); break;
        case 'f': text.byte('\f'); break;
        case 'n': text.byte('\n'); break;
        case 'r': text.byte('\r'); break;
        case 't': text.byte('\t'); break;
        case 'v': text.byte('\v'); break;
        case '"':
        case '?':
        case '\'':
        case '\\': text.byte(escaped); break;
        case 'x':
            if (i < written.size() && hexValue(written[i]) >= 0) {
                char16_t unit = 0;
                for (; i < written.size() && hexValue(written[i]) >= 0; ++i)
                    unit = static_cast<char16_t>((unit << 4) | hexValue(written[i]));
                text.codeUnit(unit);
            }
            break;
        case '\n':
        case '\r':
            if (i < written.size() && isLineEnd(written[i]) && written[i] != escaped)
                ++i;
            break;
        default:
            if (octalValue(escaped) >= 0) {
                char16_t unit = static_cast<char16_t>(octalValue(escaped));
                for (; i < written.size() && octalValue(written[i]) >= 0; ++i)
                    unit = static_cast<char16_t>((unit << 3) | octalValue(written[i]));
                text.codeUnit(unit);
            }
            break;
        }
    }
    std::string value = text.text();
    // What the store writes for a text that holds a NUL character, or that
    // starts with "@".
    if (value.starts_with("@String(") && value.ends_with(')'))
        return value.substr(8, value.size() - 9);
    if (value.starts_with("@@"))
        value.erase(0, 1);
    return value;
}

// Named escapes for the control characters that have one, "\xNN" for the
// others, and a hexadecimal digit right after a numeric escape escaped too,
// so that it does not join it. A value with ";", "," or "=", or with a space
// at either end, is quoted whole.
std::string writtenValue(std::string_view text)
{
    std::string tagged;
    if (text.find('\0') != std::string_view::npos)
        tagged = "@String(" + std::string(text) + ")";
    else if (text.starts_with('@'))
        tagged = "@" + std::string(text);
    const std::string_view source = tagged.empty() ? text : std::string_view(tagged);

    static constexpr char kHex[] = "0123456789abcdef";
    const auto hexEscape = [](std::string& out, unsigned char c) {
        out += "\\x";
        if (c >= 0x10)
            out += kHex[c >> 4];
        out += kHex[c & 0xf];
    };
    std::string written;
    written.reserve(source.size() + 2);
    bool needsQuotes = false;
    bool escapeHexDigit = false;
    for (const char c : source) {
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        if (escapeHexDigit && hexValue(c) >= 0) {
            hexEscape(written, static_cast<unsigned char>(c));
            continue;
        }
        escapeHexDigit = false;
        switch (c) {
        case '\0': written += "\\0"; escapeHexDigit = true; break;
        case '\a': written += "\\a"; break;
        case '\b': written += "\\b"; break;
        case '\f': written += "\\f"; break;
        case '\n': written += "\\n"; break;
        case '\r': written += "\\r"; break;
        case '\t': written += "\\t"; break;
        case '\v': written += "\\v"; break;
        case '"':
        case '\\':
            written += '\\';
            written += c;
            break;
        default:
            if (static_cast<unsigned char>(c) <= 0x1f) {
                hexEscape(written, static_cast<unsigned char>(c));
                escapeHexDigit = true;
            } else {
                written += c;
            }
        }
    }
    if (needsQuotes || (!written.empty() && (written.front() == ' ' || written.back() == ' ')))
        return '"' + written + '"';
    return written;
}

// A key ending in "/" is written ending in a backslash, which would escape
// the "="; a blank after it, escaped instead, keeps the "=" (and the blanks
// around a key are no part of it).
std::string writtenLine(std::string_view key, std::string_view value)
{
    std::string line = writtenName(key);
    if (line.ends_with('\\'))
        line += ' ';
    return line + '=' + writtenValue(value);
}

bool isUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const Decoded decoded = decodeAt(bytes, i);
        if (!decoded.codePoint)
            return false;
        i += decoded.length;
    }
    return true;
}

} // namespace korval::ini
