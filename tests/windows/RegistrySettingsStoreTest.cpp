#include "windows/settings/RegistrySettingsStore.h"

#include "windows/platform/Win32.h"

#include "core/runtime/RuntimeError.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// The store against the registry itself (Wine's, when these tests run under
// Wine): values of every type written with the registry's own calls, read
// through the store, and the store's writes read back with those calls.
namespace korval::windows {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes utf16(std::wstring_view text, bool terminated)
{
    Bytes bytes;
    for (wchar_t c : text) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    if (terminated)
        bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

Bytes littleEndian(std::uint64_t value, int size)
{
    Bytes bytes;
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    return bytes;
}

// Each test works in an application of its own under the real store's folder,
// removed afterwards, so that tests may run side by side and never touch the
// program's own settings.
class RegistryStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        application_ = std::string("KORVAL test ") + info->name() + " " + std::to_string(GetCurrentProcessId());
    }
    void TearDown() override
    {
        const std::wstring path = RegistrySettingsStore::sectionPath(application_, "OPTION");
        const std::wstring applicationPath = path.substr(0, path.rfind(L'\\'));
        RegDeleteTreeW(HKEY_CURRENT_USER, applicationPath.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, applicationPath.c_str());
    }

    // The section's key, closed when it goes.
    struct KeyCloser {
        void operator()(HKEY key) const { RegCloseKey(key); }
    };
    using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;
    Key section(REGSAM access = KEY_ALL_ACCESS)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RegistrySettingsStore::sectionPath(application_, "OPTION").c_str(),
                                  0, nullptr, 0, access, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return Key(key);
    }
    void put(const wchar_t* name, DWORD type, const Bytes& data)
    {
        const Key key = section();
        ASSERT_EQ(RegSetValueExW(key.get(), name, 0, type, data.data(), static_cast<DWORD>(data.size())),
                  ERROR_SUCCESS);
    }
    // Type and bytes of a value as the registry holds it; REG_NONE with no
    // bytes when it is missing.
    std::pair<DWORD, Bytes> raw(const wchar_t* name)
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistrySettingsStore::sectionPath(application_, "OPTION").c_str(), 0,
                          KEY_QUERY_VALUE, &key)
            != ERROR_SUCCESS)
            return {REG_NONE, {}};
        DWORD type = REG_NONE;
        DWORD size = 0;
        Bytes data;
        if (RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            data.resize(size);
            RegQueryValueExW(key, name, nullptr, &type, data.data(), &size);
        }
        RegCloseKey(key);
        return {type, data};
    }
    bool sectionExists()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, RegistrySettingsStore::sectionPath(application_, "OPTION").c_str(), 0,
                          KEY_READ, &key)
            != ERROR_SUCCESS)
            return false;
        RegCloseKey(key);
        return true;
    }
    // "missing" when the store has no text for the value.
    std::string stored(const char* name)
    {
        const std::string value = store_.GetSetting(application_, "OPTION", name, 777);
        return value == "777" ? "missing" : value;
    }

    std::string application_;
    RegistrySettingsStore store_;
};

struct TypedValue {
    const char* name;
    DWORD type;
    Bytes data;
    std::string expected;
};

TEST_F(RegistryStoreTest, ValuesOfEveryTypeReadAsTextOrMissing)
{
    const std::vector<TypedValue> rows = {
        {"string", REG_SZ, utf16(L"12", true), "12"},
        {"string without terminator", REG_SZ, utf16(L"12", false), "12"},
        {"string with an odd byte", REG_SZ, [] { Bytes b = utf16(L"12", false); b.push_back('3'); return b; }(), "12"},
        {"empty string", REG_SZ, utf16(L"", true), ""},
        {"no bytes at all", REG_SZ, {}, ""},
        {"text after a terminator", REG_SZ, utf16(std::wstring(L"12\0" L"99", 5), true), "12"},
        {"outside ASCII", REG_SZ, utf16(L"9,5 Jiří", true), "9,5 Ji\xC5\x99\xC3\xAD"},
        {"unpaired surrogate", REG_SZ, utf16(L"1\xD800", true), "1\xEF\xBF\xBD"},
        {"expandable, not expanded", REG_EXPAND_SZ, utf16(L"%TEMP%", true), "%TEMP%"},
        {"several strings: the first", REG_MULTI_SZ, utf16(std::wstring(L"14\0" L"15\0", 6), true), "14"},
        {"double word", REG_DWORD, littleEndian(14, 4), "14"},
        {"double word, all bits", REG_DWORD, littleEndian(0xFFFFFFFF, 4), "4294967295"},
        {"double word, too short", REG_DWORD, littleEndian(14, 2), "missing"},
        {"big-endian double word", REG_DWORD_BIG_ENDIAN, {0, 0, 0, 20}, "20"},
        {"quad word", REG_QWORD, littleEndian(1ull << 40, 8), "1099511627776"},
        {"quad word, too long", REG_QWORD, littleEndian(1, 9), "missing"},
        {"binary", REG_BINARY, {'1', '2'}, "missing"},
        {"no type", REG_NONE, {'1', 0}, "missing"},
        {"long string", REG_SZ, utf16(std::wstring(100000, L'7'), true), std::string(100000, '7')},
        {"too long a string", REG_SZ, utf16(std::wstring(RegistrySettingsStore::kLongestValue, L'7'), true), "missing"},
    };
    for (const TypedValue& row : rows) {
        SCOPED_TRACE(row.name);
        const std::wstring name(row.name, row.name + std::strlen(row.name));
        put(name.c_str(), row.type, row.data);
        EXPECT_EQ(stored(row.name), row.expected);
    }
}

TEST_F(RegistryStoreTest, MissingValueSectionOrApplicationGivesTheDefault)
{
    EXPECT_EQ(store_.GetSetting(application_, "OPTION", "WIDTH", 13), "13");
    EXPECT_EQ(store_.GetSetting(application_, "OPTION", "WIDTH"), "");
    put(L"TEXTSIZE", REG_SZ, utf16(L"12", true));
    EXPECT_EQ(store_.GetSetting(application_, "OPTION", "WIDTH", 13), "13");
    EXPECT_EQ(store_.GetSetting(application_, "OTHER", "TEXTSIZE", 10), "10");
}

TEST_F(RegistryStoreTest, WritesMakeTheKeysAndStoreTerminatedStrings)
{
    store_.SaveSettings(application_, "OPTION", {{"TEXTSIZE", "12"}, {"WIDTH", "9,5"}, {"HEIGHT", "21"}, {"SYSTEM", "0"}});
    EXPECT_EQ(raw(L"TEXTSIZE"), (std::pair<DWORD, Bytes>{REG_SZ, utf16(L"12", true)}));
    EXPECT_EQ(raw(L"WIDTH"), (std::pair<DWORD, Bytes>{REG_SZ, utf16(L"9,5", true)}));
    EXPECT_EQ(raw(L"HEIGHT"), (std::pair<DWORD, Bytes>{REG_SZ, utf16(L"21", true)}));
    EXPECT_EQ(raw(L"SYSTEM"), (std::pair<DWORD, Bytes>{REG_SZ, utf16(L"0", true)}));
    EXPECT_EQ(stored("WIDTH"), "9,5");
}

TEST_F(RegistryStoreTest, AWriteReplacesAValueOfAnotherType)
{
    put(L"WIDTH", REG_DWORD, littleEndian(14, 4));
    store_.SaveSetting(application_, "OPTION", "WIDTH", "15");
    EXPECT_EQ(raw(L"WIDTH"), (std::pair<DWORD, Bytes>{REG_SZ, utf16(L"15", true)}));
}

// A value name longer than the registry allows cannot be set: the values
// written before it get back what they held, and keys made for the write go.
TEST_F(RegistryStoreTest, AFailedWriteKeepsWhatTheStoreHeld)
{
    const std::string tooLongName(20000, 'K');
    put(L"TEXTSIZE", REG_DWORD, littleEndian(11, 4));
    try {
        store_.SaveSettings(application_, "OPTION", {{"TEXTSIZE", "12"}, {"WIDTH", "14"}, {tooLongName, "1"}});
        FAIL() << "the write succeeded";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.number(), RuntimeError::PathFileAccessError);
        EXPECT_NE(error.text().find("VB and VBA Program Settings"), std::string::npos) << error.text();
    }
    EXPECT_EQ(raw(L"TEXTSIZE"), (std::pair<DWORD, Bytes>{REG_DWORD, littleEndian(11, 4)}));
    EXPECT_EQ(raw(L"WIDTH").second, Bytes{});

    RegDeleteValueW(section().get(), L"TEXTSIZE");
    TearDown();
    EXPECT_THROW(store_.SaveSettings(application_, "OPTION", {{"TEXTSIZE", "12"}, {tooLongName, "1"}}), RuntimeError);
    EXPECT_FALSE(sectionExists());
}

} // namespace
} // namespace korval::windows
