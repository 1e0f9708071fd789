#include "core/support/FakePlatform.h"
#include "core/support/MemoryStore.h"

#include "windows/options/OptionsDialog.h"
#include "windows/options/OptionsRun.h"
#include "windows/platform/WideText.h"

#include "core/options/Form2.h"
#include "core/settings/SettingKeys.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The dialog's real controls under Wine, on an X display: the steps' store
// and platform are the tests' own, so that OK, CANCEL and the message boxes
// are recorded instead of ending the test or waiting for a click.
namespace korval::windows {
namespace {

using testing::FakePlatform;
using testing::MemoryStore;
using Id = OptionsDialog::ControlId;

class OptionsDialogTest : public ::testing::Test {
protected:
    void open()
    {
        dialog.reset();
        platform = std::make_unique<FakePlatform>();
        dialog = std::make_unique<OptionsDialog>(*platform, store, nullptr);
        dialog->open();
    }
    HWND control(Id id) const { return GetDlgItem(dialog->window(), id); }
    std::string text(Id id) const
    {
        wchar_t buffer[64]{};
        GetWindowTextW(control(id), buffer, 64);
        return toUtf8(buffer);
    }
    void type(Id id, const wchar_t* text) { SetWindowTextW(control(id), text); }
    void choose(const wchar_t* size)
    {
        SendMessageW(control(Id::IdCombo1), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(size));
    }
    // A click as the mouse makes it: the control tells the window itself.
    void click(Id id)
    {
        if (id == Id::IdCommand1 || id == Id::IdCommand2) {
            SendMessageW(control(id), BM_CLICK, 0, 0);
            return;
        }
        SendMessageW(control(id), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(control(id), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    std::string stored(const settings::SettingKey& key) const { return store.value(key).value_or("(missing)"); }
    int storedNumber(const settings::SettingKey& key) const { return std::stoi(stored(key)); }
    // The colours the window gives a control to draw with.
    struct Colours {
        COLORREF text;
        COLORREF back;
    };
    Colours coloursOf(UINT message, Id id) const
    {
        const HDC dc = CreateCompatibleDC(nullptr);
        SendMessageW(dialog->window(), message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control(id)));
        const Colours colours{GetTextColor(dc), GetBkColor(dc)};
        DeleteDC(dc);
        return colours;
    }

    MemoryStore store;
    std::unique_ptr<FakePlatform> platform;
    std::unique_ptr<OptionsDialog> dialog;
};

TEST_F(OptionsDialogTest, OpensAsDesigned)
{
    open();
    const HWND window = dialog->window();
    wchar_t title[32]{};
    GetWindowTextW(window, title, 32);
    EXPECT_STREQ(title, L"OPTION KORVAL");
    RECT client{};
    GetClientRect(window, &client);
    const DialogRect expected = scaledRect(kClientArea, dialog->dpi());
    EXPECT_EQ(client.right, expected.width);
    EXPECT_EQ(client.bottom, expected.height);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_FALSE(IsWindowVisible(control(Id::IdLabel7))) << "the measuring label never shows";

    const HWND list = control(Id::IdCombo1);
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
        wchar_t entry[8]{};
        SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        entries.push_back(toUtf8(entry));
    }
    EXPECT_EQ(entries, (std::vector<std::string>{"8", "10", "12", "14", "17", "24"}));
    EXPECT_EQ(GetWindowLongW(list, GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "the user picks, never types";

    // Nothing stored yet: the saver's defaults, 10 and a cell of 13 x 18.
    EXPECT_EQ(text(Id::IdCombo1), "10");
    EXPECT_EQ(text(Id::IdLabel2), "MEZERY MEZI SKOUPCI(ŠÍŘKA)");
    EXPECT_EQ(text(Id::IdLabel4), "ZOBRAZIT TEXT \"SYSTEM FAILURE\"");

    EXPECT_EQ(GetFocus(), list);
    std::vector<HWND> tabs{list};
    for (int i = 0; i < 5; ++i)
        tabs.push_back(GetNextDlgTabItem(window, tabs.back(), FALSE));
    EXPECT_EQ(tabs, (std::vector<HWND>{list, control(Id::IdText1), control(Id::IdText2), control(Id::IdCommand1),
                                       control(Id::IdCommand2), list}));
}

TEST_F(OptionsDialogTest, StoresWhatWasChosenAndReopensWithIt)
{
    open();
    choose(L"12");
    type(Id::IdText1, L"3");
    type(Id::IdText2, L"-1");
    click(Id::IdLabel6);
    click(Id::IdCommand1);
    ASSERT_EQ(platform->exitStatus, 0) << (platform->messages.empty() ? "" : platform->messages[0].text);
    EXPECT_EQ(stored(settings::kTextSize), "12");
    EXPECT_EQ(stored(settings::kSystem), "0");
    // The cell is the letter's size plus the gaps; the letter is a few pixels at least.
    EXPECT_GT(storedNumber(settings::kWidth), 3 + 4);
    EXPECT_GT(storedNumber(settings::kHeight), -1 + 8);

    open();
    EXPECT_EQ(text(Id::IdCombo1), "12");
    EXPECT_EQ(text(Id::IdText1), "3");
    EXPECT_EQ(text(Id::IdText2), "-1");
    click(Id::IdCommand1);
    EXPECT_EQ(stored(settings::kSystem), "0") << "NE was shown chosen and stays chosen";
}

// Gaps of 0 store the letter's own size, measured afresh at the size chosen,
// and the hidden measuring label is left at that size.
TEST_F(OptionsDialogTest, MeasuresTheLetterAtTheChosenSize)
{
    std::vector<std::pair<int, int>> sizes;
    for (const wchar_t* size : {L"8", L"24"}) {
        open();
        choose(size);
        type(Id::IdText1, L"0");
        type(Id::IdText2, L"0");
        click(Id::IdCommand1);
        ASSERT_EQ(platform->exitStatus, 0);
        sizes.emplace_back(storedNumber(settings::kWidth), storedNumber(settings::kHeight));
        RECT label{};
        GetWindowRect(control(Id::IdLabel7), &label);
        EXPECT_EQ(label.right - label.left, sizes.back().first);
        EXPECT_EQ(label.bottom - label.top, sizes.back().second);
    }
    EXPECT_LT(sizes[0].first, sizes[1].first);
    EXPECT_LT(sizes[0].second, sizes[1].second);
}

TEST_F(OptionsDialogTest, RefusesWhatItCannotStoreAndStaysOpen)
{
    struct Row {
        const wchar_t* columnGap;
        const wchar_t* rowGap;
        const char* message;
        MessageStyle style;
    };
    const Row rows[] = {
        {L"", L"1", kFillEverything, MessageStyle::Critical},
        {L"1", L"", kFillEverything, MessageStyle::Critical},
        {L"abc", L"1", kWholeNumbersOnly, MessageStyle::Plain},
        {L"1", L"40000", kWholeNumbersOnly, MessageStyle::Plain},
        {L"-500", L"0", kWholeNumbersOnly, MessageStyle::Plain}, // a cell narrower than nothing
    };
    for (const Row& row : rows) {
        open();
        type(Id::IdText1, row.columnGap);
        type(Id::IdText2, row.rowGap);
        click(Id::IdCommand1);
        ASSERT_EQ(platform->messages.size(), 1u) << toUtf8(row.columnGap) << "|" << toUtf8(row.rowGap);
        EXPECT_EQ(platform->messages[0].text, row.message);
        EXPECT_EQ(platform->messages[0].style, row.style);
        EXPECT_FALSE(platform->ended());
        EXPECT_EQ(store.writes, 0);
        EXPECT_TRUE(IsWindowVisible(dialog->window()));
    }
}

TEST_F(OptionsDialogTest, EnterAndEscPressNoButton)
{
    open();
    for (Id button : {Id::IdCommand1, Id::IdCommand2}) {
        SetFocus(control(button));
        for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
            MSG press{control(button), WM_KEYDOWN, key, 0, 0, {}};
            EXPECT_TRUE(dialog->preTranslate(press)) << "the key goes no further";
        }
    }
    // What the dialog manager makes of Enter and Esc elsewhere.
    SendMessageW(dialog->window(), WM_COMMAND, IDOK, 0);
    SendMessageW(dialog->window(), WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(platform->ended());
    EXPECT_TRUE(platform->messages.empty());
}

TEST_F(OptionsDialogTest, CancelAndClosingEndWithoutStoring)
{
    store.put(settings::kTextSize, "14");
    for (const bool closing : {false, true}) {
        open();
        choose(L"8");
        if (closing)
            SendMessageW(dialog->window(), WM_CLOSE, 0, 0);
        else
            click(Id::IdCommand2);
        EXPECT_EQ(platform->exitStatus, 0);
        EXPECT_EQ(store.writes, 0);
        EXPECT_EQ(stored(settings::kTextSize), "14");
    }
}

TEST_F(OptionsDialogTest, DrawsInItsGreens)
{
    constexpr COLORREF black = RGB(0, 0, 0), caption = RGB(0, 255, 0), trail = RGB(0, 128, 0),
                       head = RGB(50, 255, 50);
    store.put(settings::kSystem, "0");
    open();
    EXPECT_EQ(coloursOf(WM_CTLCOLORSTATIC, Id::IdLabel1).text, caption);
    EXPECT_EQ(coloursOf(WM_CTLCOLORSTATIC, Id::IdLabel5).text, trail) << "NE stored: ANO dim";
    EXPECT_EQ(coloursOf(WM_CTLCOLORSTATIC, Id::IdLabel6).text, caption);
    const Colours box = coloursOf(WM_CTLCOLOREDIT, Id::IdText1);
    EXPECT_EQ(box.text, black);
    EXPECT_EQ(box.back, trail);
    const Colours list = coloursOf(WM_CTLCOLOREDIT, Id::IdCombo1);
    EXPECT_EQ(list.text, head);
    EXPECT_EQ(list.back, black);

    click(Id::IdLabel5);
    EXPECT_EQ(coloursOf(WM_CTLCOLORSTATIC, Id::IdLabel5).text, caption);
    EXPECT_EQ(coloursOf(WM_CTLCOLORSTATIC, Id::IdLabel6).text, trail);
    EXPECT_EQ(dialog->bannerChoice, 1);
}

HWND makeWindow(HWND parent, DWORD style)
{
    return CreateWindowExW(0, L"STATIC", L"host", style, 0, 0, 50, 50, parent, nullptr, GetModuleHandleW(nullptr),
                           nullptr);
}

std::uint64_t handleOf(HWND window)
{
    return static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(window));
}

TEST(DialogOwner, IsTheHostsTopLevelWindowWhenThereIsOne)
{
    const HWND host = makeWindow(nullptr, WS_OVERLAPPEDWINDOW);
    ASSERT_NE(host, nullptr);
    const HWND child = makeWindow(host, WS_CHILD);
    ASSERT_NE(child, nullptr);
    const HWND gone = makeWindow(nullptr, WS_OVERLAPPEDWINDOW);
    DestroyWindow(gone);

    EXPECT_EQ(ownerWindowOf(handleOf(host)), host);
    EXPECT_EQ(ownerWindowOf(handleOf(child)), host) << "a child window cannot own a top-level one";
    EXPECT_EQ(ownerWindowOf(handleOf(gone)), nullptr) << "the host closed its window";
    EXPECT_EQ(ownerWindowOf(std::nullopt), nullptr);
    EXPECT_EQ(ownerWindowOf(0), nullptr);
    EXPECT_EQ(ownerWindowOf(0xDEAD0000u), nullptr) << "never a window";
    EXPECT_EQ(ownerWindowOf(UINT64_MAX), nullptr);
    DestroyWindow(host);
}

} // namespace
} // namespace korval::windows
