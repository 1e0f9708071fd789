#include "Form2.h"

#include "OptionsToSave.h"
#include "StoredOptions.h"

#include "core/settings/SettingKeys.h"
#include "core/settings/SettingsStore.h"

namespace korval {

Form2::Form2(Platform& platform, SettingsStore& store, OptionsView& view)
    : platform_(platform), store_(store), view_(view)
{
}

LetterMeasure Form2::measure()
{
    return [this](double pointSize) { return view_.measureLetter(pointSize); };
}

void Form2::Form_Load()
{
    bannerChoice = 1;
    view_.listFontSizes();
    const DialogFields fields = readStoredOptions(store_, measure(), platform_.regionalFormat());
    view_.selectFontSize(fields.textSize);
    view_.setGaps(fields.columnGap, fields.rowGap);
    if (fields.bannerChoice == 1)
        Label5_Click();
    else
        Label6_Click();
}

void Form2::Label5_Click()
{
    view_.showBannerChoice(1);
    bannerChoice = 1;
}

void Form2::Label6_Click()
{
    view_.showBannerChoice(0);
    bannerChoice = 0;
}

// Every refusal leaves the fields, the choice and the store as they were, and
// the dialog open. The four settings go to the store in one write, so a store
// that cannot be written keeps exactly what it held.
void Form2::Command1_Click()
{
    const DialogFields fields{view_.selectedFontSize(), view_.columnGap(), view_.rowGap(), bannerChoice};
    if (fields.textSize.empty() || fields.columnGap.empty() || fields.rowGap.empty()) {
        platform_.messageBox(kFillEverything, MessageStyle::Critical);
        return;
    }
    try {
        store_.SaveSettings(settings::kApplication, settings::kSection,
                            entriesToSave(fields, measure(), platform_.regionalFormat()));
    } catch (const RuntimeError&) {
        platform_.messageBox(kWholeNumbersOnly, MessageStyle::Plain);
        return;
    }
    platform_.endProgram(0);
}

void Form2::Command2_Click()
{
    platform_.endProgram(0);
}

// The dialog is the program's only window, so closing it ends the program.
void Form2::Form_Unload()
{
    platform_.endProgram(0);
}

} // namespace korval
