#include "Form2.h"

#include "DialogFonts.h"
#include "core/options/OptionsToSave.h"
#include "core/options/StoredOptions.h"

#include "core/settings/SettingKeys.h"
#include "settings/IniSettingsStore.h"

#include "core/runtime/HandlerGuard.h"
#include "core/saver/Palette.h"

namespace korval {
namespace {

// The dialog's texts stand as its users know them, misspellings included
// ("všecchny", "SKOUPCI", "VÍSKA"): do not correct them.
const char16_t* const kFillEverything = u"Musí být vyplněny všecchny údaje";
const char16_t* const kWholeNumbersOnly = u"Zadávejte pouze celá čísla";

constexpr QRgb kChosenColour = CAPTION_COLOUR;
constexpr QRgb kUnchosenColour = TRAIL_COLOUR;

void setColours(QWidget& widget, QPalette::ColorRole foreRole, QRgb fore, QPalette::ColorRole backRole, QRgb back)
{
    QPalette palette = widget.palette();
    palette.setColor(foreRole, QColor::fromRgb(fore));
    palette.setColor(backRole, QColor::fromRgb(back));
    widget.setPalette(palette);
}

void setForeColour(QLabel& label, QRgb colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label.setPalette(palette);
}

// A caption label: green on the black of the window, as wide as its text.
void placeCaption(QLabel& label, int left, int top)
{
    label.setFont(captionFont());
    setForeColour(label, CAPTION_COLOUR);
    label.move(left, top);
    label.adjustSize();
}

} // namespace

Form2::Form2(Platform& platform, SettingsStore& store)
    : platform_(platform), store_(store), window_(std::make_unique<DialogWindow>()),
      Label1(QStringLiteral("VELIKOST PÍSMA"), window_.get()),
      Combo1(window_.get()),
      Label2(QStringLiteral("MEZERY MEZI SKOUPCI(ŠÍŘKA)"), window_.get()), // "SKOUPCI" as it always read
      Text1(window_.get()),
      Label3(QStringLiteral("MEZERY MEZI PÍSMENY(VÍSKA)"), window_.get()), // "VÍSKA" as it always read
      Text2(window_.get()),
      Command1(QStringLiteral("OK"), window_.get()),
      Command2(QStringLiteral("CANCEL"), window_.get()),
      Label4(QStringLiteral("ZOBRAZIT TEXT \"SYSTEM FAILURE\""), window_.get()),
      Label5(QStringLiteral("ANO"), window_.get()),
      Label6(QStringLiteral("NE"), window_.get()),
      Label7(QStringLiteral("M"), window_.get()),
      measure_([this](double pointSize) { return measureLetter(pointSize); })
{
    design();
    connectHandlers();
}

Form2::~Form2() = default;

void Form2::design()
{
    DialogWindow& window = *window_;
    window.setWindowTitle(QStringLiteral("OPTION KORVAL"));
    window.setFixedSize(323, 199);
    window.setFont(defaultFont());
    QPalette black = window.palette();
    black.setColor(QPalette::Window, QColor::fromRgb(BLACK));
    window.setPalette(black);
    window.setAutoFillBackground(true);

    designCaptions();
    designFields();
    designButtons();
    designMeasuringLabel();
    // The captions take no focus, so Tab runs through these and back to the list.
    QWidget::setTabOrder(&Combo1, &Text1);
    QWidget::setTabOrder(&Text1, &Text2);
    QWidget::setTabOrder(&Text2, &Command1);
    QWidget::setTabOrder(&Command1, &Command2);
    Combo1.setFocus();
}

void Form2::designCaptions()
{
    placeCaption(Label1, 8, 8);
    placeCaption(Label2, 8, 48);
    placeCaption(Label3, 8, 80);
    placeCaption(Label4, 8, 112);
    placeCaption(Label5, 104, 136);
    placeCaption(Label6, 160, 136);
}

void Form2::designFields()
{
    Combo1.setGeometry(152, 8, 73, 21);
    setColours(Combo1, QPalette::ButtonText, HEAD_COLOUR, QPalette::Button, BLACK);
    setColours(Combo1, QPalette::Text, HEAD_COLOUR, QPalette::Base, BLACK);

    for (QLineEdit* box : {&Text1, &Text2})
        setColours(*box, QPalette::Text, BLACK, QPalette::Base, TRAIL_COLOUR);
    Text1.setGeometry(264, 48, 49, 19);
    Text2.setGeometry(264, 80, 49, 19);
}

void Form2::designButtons()
{
    // Enter and Esc press neither button: only a click or the space bar does.
    for (QPushButton* button : {&Command1, &Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    Command1.setGeometry(8, 168, 81, 25);
    Command2.setGeometry(232, 168, 81, 25);
}

void Form2::designMeasuringLabel()
{
    Label7.setGeometry(264, 0, 17, 17);
    setColours(Label7, QPalette::WindowText, HEAD_COLOUR, QPalette::Window, TRAIL_COLOUR);
    Label7.setAutoFillBackground(true);
    Label7.hide();
}

void Form2::connectHandlers()
{
    Label5.setClickHandler(guarded(platform_, [this] { Label5_Click(); }));
    Label6.setClickHandler(guarded(platform_, [this] { Label6_Click(); }));
    QObject::connect(&Command1, &QPushButton::clicked, window_.get(), guarded(platform_, [this] { Command1_Click(); }));
    QObject::connect(&Command2, &QPushButton::clicked, window_.get(), guarded(platform_, [this] { Command2_Click(); }));
    window_->setCloseHandler(guarded(platform_, [this] { Form_Unload(); }));
}

// Measures with the one rule that loading and saving share, and leaves the
// hidden measuring label at that font and size, as the last measuring left it.
QSize Form2::measureLetter(double pointSize)
{
    const QSize letter = naturalLetterSize(pointSize);
    Label7.setFont(measuringFont(pointSize));
    Label7.resize(letter);
    return letter;
}

void Form2::Form_Load()
{
    bannerChoice = 1;
    Combo1.clear();
    for (QLatin1StringView size : kFontSizes)
        Combo1.addItem(QString(size));

    const DialogFields fields = readStoredOptions(store_, measure_);
    Combo1.setCurrentText(fields.textSize);
    Text1.setText(fields.columnGap);
    Text2.setText(fields.rowGap);
    if (fields.bannerChoice == 1)
        Label5_Click();
    else
        Label6_Click();
}

void Form2::show()
{
    window_->show();
    window_->activateWindow();
}

void Form2::Label5_Click()
{
    setForeColour(Label6, kUnchosenColour);
    setForeColour(Label5, kChosenColour);
    bannerChoice = 1;
}

void Form2::Label6_Click()
{
    setForeColour(Label5, kUnchosenColour);
    setForeColour(Label6, kChosenColour);
    bannerChoice = 0;
}

// Every refusal leaves the fields, the choice and the store as they were, and
// the dialog open. The four settings go to the store in one write, so a store
// that cannot be written keeps exactly what it held.
void Form2::Command1_Click()
{
    const DialogFields fields{Combo1.currentText(), Text1.text(), Text2.text(), bannerChoice};
    if (fields.textSize.isEmpty() || fields.columnGap.isEmpty() || fields.rowGap.isEmpty()) {
        platform_.messageBox(QString::fromUtf16(kFillEverything), MB_CRITICAL);
        return;
    }
    try {
        store_.SaveSettings(settings::kApplication, settings::kSection, entriesToSave(fields, measure_));
    } catch (const RuntimeError&) {
        platform_.messageBox(QString::fromUtf16(kWholeNumbersOnly), MB_OK);
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
