#include "IniSave.h"

#include "IniText.h"

#include <map>

namespace korval::ini {
namespace {

bool isLineEnd(char c) { return c == '\n' || c == '\r'; }


// Every key of a file with its text, and the order in which sections and
// keys first appear.
class Values {
    using Texts = std::map<std::pair<std::string, std::string>, std::string>;

public:
    explicit Values(std::string_view text)
    {
        Scanner scanner(text);
        for (Line line; scanner.next(line);) {
            if (line.kind == LineKind::Assignment)
                set(std::string(line.section), name(line.key), valueText(line.value));
        }
    }

    void set(const std::string& section, const std::string& key, std::string text)
    {
        const auto [at, added] = texts_.insert_or_assign({section, key}, std::move(text));
        if (added)
            order_.push_back(at);
    }

    bool operator==(const Values& other) const { return texts_ == other.texts_; }

    // The keys grouped by section, sections and keys in the order they
    // first appear: what a file written whole holds.
    std::vector<std::pair<std::string, std::vector<const Texts::value_type*>>> bySection() const
    {
        std::vector<std::pair<std::string, std::vector<const Texts::value_type*>>> sections;
        std::map<std::string, std::size_t> sectionIndex;
        for (const auto& entry : order_) {
            const std::string& section = entry->first.first;
            const auto [at, added] = sectionIndex.try_emplace(section, sections.size());
            if (added)
                sections.push_back({section, {}});
            sections[at->second].second.push_back(&*entry);
        }
        return sections;
    }

private:
    Texts texts_;
    std::vector<Texts::const_iterator> order_;
};

// The entries as they reach the file: a key given twice holds its last text,
// and keys are written in name order.
std::map<std::string, std::string> byName(const Entries& entries)
{
    std::map<std::string, std::string> keys;
    for (const auto& [key, text] : entries)
        keys[key] = text;
    return keys;
}

// The file's own line end, taken from its first line; LF when it has none.
std::string firstLineEnd(std::string_view text)
{
    const std::size_t end = text.find_first_of("\r\n");
    if (end == std::string_view::npos)
        return "\n";
    if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
        return "\r\n";
    return std::string(1, text[end]);
}

// The line end at `at` (where a line ends), so that lines put after that line
// end as it does; at the end of the file, the file's own.
std::string lineEndAt(std::string_view text, std::size_t at)
{
    if (at >= text.size())
        return firstLineEnd(text);
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n')
        return "\r\n";
    return std::string(1, text[at]);
}

// The line end the file's last line ends with, if it ends with one.
std::string lastLineEnd(std::string_view text)
{
    if (text.ends_with("\r\n"))
        return "\r\n";
    if (!text.empty() && isLineEnd(text.back()))
        return std::string(1, text.back());
    return firstLineEnd(text);
}

std::string header(std::string_view section) { return '[' + writtenName(section) + ']'; }

// A file holding only the section's keys.
std::string freshText(std::string_view section, const std::map<std::string, std::string>& keys)
{
    std::string text = header(section) + '\n';
    for (const auto& [key, value] : keys)
        text += writtenLine(key, value) + '\n';
    return text;
}

std::string splicedText(std::string_view text, std::string_view section, const std::map<std::string, std::string>& keys)
{
    std::string result;
    result.reserve(text.size() + 64 * keys.size());
    std::map<std::string, bool> placed;
    std::size_t copied = 0;
    std::size_t sectionEnd = std::string_view::npos; // after the section's last header or key line
    Scanner scanner(text);
    for (Line line; scanner.next(line);) {
        if (line.section != section)
            continue;
        if (line.kind == LineKind::Header)
            sectionEnd = line.end;
        if (line.kind != LineKind::Assignment)
            continue;
        sectionEnd = line.end;
        const std::string key = name(line.key);
        const auto saved = keys.find(key);
        if (saved == keys.end())
            continue;
        result.append(text, copied, line.contentStart - copied);
        result += writtenLine(key, saved->second);
        copied = line.contentEnd;
        placed[key] = true;
    }

    const std::string lineEnd = sectionEnd == std::string_view::npos ? lastLineEnd(text) : lineEndAt(text, sectionEnd);
    std::string missing;
    for (const auto& [key, value] : keys) {
        if (!placed[key])
            missing += (missing.empty() ? "" : lineEnd) + writtenLine(key, value);
    }
    if (sectionEnd == std::string_view::npos) {
        result.append(text, copied);
        if (!text.empty() && !isLineEnd(text.back()))
            result += lineEnd;
        if (!text.empty())
            result += lineEnd;
        result += header(section) + lineEnd + missing + lineEnd;
        return result;
    }
    result.append(text, copied, sectionEnd - copied);
    if (!missing.empty())
        result += lineEnd + missing;
    result.append(text, sectionEnd);
    return result;
}

// Every key of the file, section by section, with the saved keys' new texts.
std::string wholeText(std::string_view text, const Values& values)
{
    const std::string lineEnd = firstLineEnd(text);
    std::string result;
    bool first = true;
    for (const auto& [section, keys] : values.bySection()) {
        if (!first)
            result += lineEnd;
        // Keys before the first header stand in the section without a name.
        if (!first || !section.empty())
            result += header(section) + lineEnd;
        for (const auto* entry : keys)
            result += writtenLine(entry->first.second, entry->second) + lineEnd;
        first = false;
    }
    return result;
}

bool readsBackAs(std::string_view text, const Values& expected)
{
    return !damaged(text) && Values(text) == expected;
}

} // namespace

bool damaged(std::string_view text)
{
    if (text.find('\0') != std::string_view::npos || !isUtf8(text))
        return true;
    Scanner scanner(text);
    for (Line line; scanner.next(line);) {
    }
    return scanner.unclosedHeader();
}

std::optional<std::string> valueIn(std::string_view text, std::string_view section, std::string_view key)
{
    std::optional<std::string_view> written;
    Scanner scanner(text);
    for (Line line; scanner.next(line);) {
        if (line.kind == LineKind::Assignment && line.section == section && name(line.key) == key)
            written = line.value;
    }
    if (!written || scanner.unclosedHeader())
        return std::nullopt;
    return valueText(*written);
}

std::optional<Save> saved(std::optional<std::string_view> current, std::string_view section, const Entries& entries)
{
    const std::map<std::string, std::string> keys = byName(entries);
    if (!current)
        return Save{Save::Copy::None, freshText(section, keys)};
    if (damaged(*current))
        return Save{Save::Copy::Damaged, freshText(section, keys)};

    Values expected(*current);
    for (const auto& [key, value] : keys)
        expected.set(std::string(section), key, value);
    std::string spliced = splicedText(*current, section, keys);
    if (readsBackAs(spliced, expected))
        return Save{Save::Copy::None, std::move(spliced)};
    std::string whole = wholeText(*current, expected);
    if (readsBackAs(whole, expected))
        return Save{Save::Copy::Kept, std::move(whole)};
    return std::nullopt;
}

} // namespace korval::ini
