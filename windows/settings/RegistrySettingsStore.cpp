#include "RegistrySettingsStore.h"

#include "windows/platform/WideText.h"
#include "windows/platform/Win32.h"

#include "core/runtime/RuntimeError.h"

#include <cwchar>

namespace korval::windows {

namespace {

constexpr std::wstring_view kStoreFolder = L"Software\\VB and VBA Program Settings";

// A value as it was before a write: its type and bytes, or nothing.
struct StoredValue {
    std::wstring name;
    std::optional<std::pair<DWORD, std::vector<std::uint8_t>>> previous;
};

// Type and bytes of one value; nothing when it is missing or longer than longest.
std::optional<std::pair<DWORD, std::vector<std::uint8_t>>> rawValue(HKEY key, const std::wstring& name,
                                                                     std::size_t longest)
{
    std::vector<std::uint8_t> data(256);
    for (;;) {
        DWORD type = REG_NONE;
        DWORD size = static_cast<DWORD>(data.size());
        const LSTATUS status = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.data(), &size);
        if (status == ERROR_SUCCESS) {
            data.resize(size);
            return std::pair{type, std::move(data)};
        }
        // The value may grow between two calls: ask again with its new size.
        if (status != ERROR_MORE_DATA || size > longest)
            return std::nullopt;
        data.resize(size);
    }
}

std::string utf16Text(const std::vector<std::uint8_t>& data)
{
    std::wstring text(data.size() / 2, L'\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        text[i] = static_cast<wchar_t>(data[2 * i] | (data[2 * i + 1] << 8));
    text.resize(std::wcslen(text.c_str()));
    return toUtf8(text);
}

std::optional<std::string> wholeNumberText(const std::vector<std::uint8_t>& data, std::size_t size, bool bigEndian)
{
    if (data.size() != size)
        return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i)
        value |= std::uint64_t(data[bigEndian ? size - 1 - i : i]) << (8 * i);
    return std::to_string(value);
}

std::wstring rootName(HKEY root)
{
    return root == HKEY_CURRENT_USER ? L"HKEY_CURRENT_USER\\" : L"";
}

// A key below the root, made step by step so that a failed write can remove
// exactly the keys it made.
class CreatedKeys {
public:
    CreatedKeys(HKEY root, const std::wstring& path) : root_(root)
    {
        HKEY parent = root;
        std::size_t start = 0;
        while (start <= path.size()) {
            std::size_t end = path.find(L'\\', start);
            if (end == std::wstring::npos)
                end = path.size();
            const std::wstring name = path.substr(start, end - start);
            HKEY child = nullptr;
            DWORD disposition = 0;
            status_ = RegCreateKeyExW(parent, name.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE | DELETE,
                                      nullptr, &child, &disposition);
            if (parent != root)
                RegCloseKey(parent);
            if (status_ != ERROR_SUCCESS)
                return;
            if (disposition == REG_CREATED_NEW_KEY)
                created_.push_back(path.substr(0, end));
            parent = child;
            start = end + 1;
        }
        key_ = parent;
    }
    ~CreatedKeys()
    {
        if (key_)
            RegCloseKey(key_);
    }
    CreatedKeys(const CreatedKeys&) = delete;
    CreatedKeys& operator=(const CreatedKeys&) = delete;

    HKEY key() const { return key_; }
    LSTATUS status() const { return status_; }

    // The keys this write made, innermost first.
    void removeCreated()
    {
        if (key_) {
            RegCloseKey(key_);
            key_ = nullptr;
        }
        for (auto path = created_.rbegin(); path != created_.rend(); ++path)
            RegDeleteKeyW(root_, path->c_str());
    }

private:
    HKEY root_;
    HKEY key_ = nullptr;
    LSTATUS status_ = ERROR_SUCCESS;
    std::vector<std::wstring> created_;
};

void restore(HKEY key, const std::vector<StoredValue>& written)
{
    for (auto value = written.rbegin(); value != written.rend(); ++value) {
        if (value->previous)
            RegSetValueExW(key, value->name.c_str(), 0, value->previous->first, value->previous->second.data(),
                           static_cast<DWORD>(value->previous->second.size()));
        else
            RegDeleteValueW(key, value->name.c_str());
    }
}

} // namespace

RegistrySettingsStore::RegistrySettingsStore(void* root)
    : root_(root ? root : static_cast<void*>(HKEY_CURRENT_USER))
{
}

std::wstring RegistrySettingsStore::sectionPath(std::string_view application, std::string_view section)
{
    return std::wstring(kStoreFolder) + L"\\" + toWide(application) + L"\\" + toWide(section);
}

std::optional<std::string> RegistrySettingsStore::valueText(unsigned long type, const std::vector<std::uint8_t>& data)
{
    if (data.size() > kLongestValue)
        return std::nullopt;
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
    case REG_MULTI_SZ:
        return utf16Text(data);
    case REG_DWORD:
        return wholeNumberText(data, 4, false);
    case REG_DWORD_BIG_ENDIAN:
        return wholeNumberText(data, 4, true);
    case REG_QWORD:
        return wholeNumberText(data, 8, false);
    default:
        return std::nullopt;
    }
}

std::optional<std::string> RegistrySettingsStore::read(std::string_view application, std::string_view section,
                                                       std::string_view key) const
{
    HKEY opened = nullptr;
    if (RegOpenKeyExW(static_cast<HKEY>(root_), sectionPath(application, section).c_str(), 0, KEY_QUERY_VALUE, &opened)
        != ERROR_SUCCESS)
        return std::nullopt;
    const auto value = rawValue(opened, toWide(key), kLongestValue);
    RegCloseKey(opened);
    if (!value)
        return std::nullopt;
    return valueText(value->first, value->second);
}

void RegistrySettingsStore::write(std::string_view application, std::string_view section,
                                  const SettingEntries& entries)
{
    const HKEY root = static_cast<HKEY>(root_);
    const std::wstring path = sectionPath(application, section);
    const auto failure = [&](LSTATUS status) {
        return RuntimeError::fileAccess("cannot write " + toUtf8(rootName(root) + path) + ": "
                                        + systemErrorText(static_cast<unsigned long>(status)));
    };

    CreatedKeys keys(root, path);
    if (keys.status() != ERROR_SUCCESS) {
        keys.removeCreated();
        throw failure(keys.status());
    }
    std::vector<StoredValue> written;
    for (const auto& [name, text] : entries) {
        // What was there is put back whole, however long.
        StoredValue value{toWide(name), rawValue(keys.key(), toWide(name), MAXDWORD)};
        const std::wstring data = toWide(text);
        const LSTATUS status
            = RegSetValueExW(keys.key(), value.name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS) {
            restore(keys.key(), written);
            keys.removeCreated();
            throw failure(status);
        }
        written.push_back(std::move(value));
    }
}

} // namespace korval::windows
