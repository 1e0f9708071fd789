#include "OptionsForm.h"

#include "DialogFonts.h"
#include "LetterFont.h"

#include "core/options/DialogDesign.h"
#include "core/options/DialogFields.h"
#include "core/runtime/HandlerGuard.h"
#include "core/saver/Palette.h"
#include "platform/QtText.h"

namespace korval {
namespace {

constexpr Colour kChosenColour = CAPTION_COLOUR;
constexpr Colour kUnchosenColour = TRAIL_COLOUR;

void setColours(QWidget& widget, QPalette::ColorRole foreRole, Colour fore, QPalette::ColorRole backRole, Colour back)
{
    QPalette palette = widget.palette();
    palette.setColor(foreRole, QColor::fromRgb(fore));
    palette.setColor(backRole, QColor::fromRgb(back));
    widget.setPalette(palette);
}

void setForeColour(QLabel& label, Colour colour)
{
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(colour));
    label.setPalette(palette);
}

QString captionOf(DialogControl control)
{
    return qtText(designOf(control).caption);
}

void place(QWidget& widget, DialogControl control)
{
    const ControlDesign& design = designOf(control);
    widget.setGeometry(design.left, design.top, design.width, design.height);
}

// A caption label: green on the black of the window, as large as its text.
void placeCaption(QLabel& label, DialogControl control)
{
    const ControlDesign& design = designOf(control);
    label.setFont(captionFont());
    setForeColour(label, CAPTION_COLOUR);
    label.move(design.left, design.top);
    label.adjustSize();
}

} // namespace

OptionsForm::OptionsForm(Platform& platform, SettingsStore& store)
    : Form2(platform, store, *this), platform_(platform), window_(std::make_unique<DialogWindow>()),
      Label1(captionOf(DialogControl::Label1), window_.get()),
      Combo1(window_.get()),
      Label2(captionOf(DialogControl::Label2), window_.get()),
      Text1(window_.get()),
      Label3(captionOf(DialogControl::Label3), window_.get()),
      Text2(window_.get()),
      Command1(captionOf(DialogControl::Command1), window_.get()),
      Command2(captionOf(DialogControl::Command2), window_.get()),
      Label4(captionOf(DialogControl::Label4), window_.get()),
      Label5(captionOf(DialogControl::Label5), window_.get()),
      Label6(captionOf(DialogControl::Label6), window_.get()),
      Label7(captionOf(DialogControl::Label7), window_.get())
{
    design();
    connectHandlers();
}

OptionsForm::~OptionsForm() = default;

void OptionsForm::design()
{
    DialogWindow& window = *window_;
    window.setWindowTitle(qtText(kDialogTitle));
    window.setFixedSize(kDialogWidth, kDialogHeight);
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

void OptionsForm::designCaptions()
{
    placeCaption(Label1, DialogControl::Label1);
    placeCaption(Label2, DialogControl::Label2);
    placeCaption(Label3, DialogControl::Label3);
    placeCaption(Label4, DialogControl::Label4);
    placeCaption(Label5, DialogControl::Label5);
    placeCaption(Label6, DialogControl::Label6);
}

void OptionsForm::designFields()
{
    place(Combo1, DialogControl::Combo1);
    setColours(Combo1, QPalette::ButtonText, HEAD_COLOUR, QPalette::Button, BLACK);
    setColours(Combo1, QPalette::Text, HEAD_COLOUR, QPalette::Base, BLACK);

    for (QLineEdit* box : {&Text1, &Text2})
        setColours(*box, QPalette::Text, BLACK, QPalette::Base, TRAIL_COLOUR);
    place(Text1, DialogControl::Text1);
    place(Text2, DialogControl::Text2);
}

void OptionsForm::designButtons()
{
    // Enter and Esc press neither button: only a click or the space bar does.
    for (QPushButton* button : {&Command1, &Command2}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    place(Command1, DialogControl::Command1);
    place(Command2, DialogControl::Command2);
}

void OptionsForm::designMeasuringLabel()
{
    place(Label7, DialogControl::Label7);
    setColours(Label7, QPalette::WindowText, HEAD_COLOUR, QPalette::Window, TRAIL_COLOUR);
    Label7.setAutoFillBackground(true);
    Label7.hide();
}

void OptionsForm::connectHandlers()
{
    Label5.setClickHandler(guarded(platform_, [this] { Label5_Click(); }));
    Label6.setClickHandler(guarded(platform_, [this] { Label6_Click(); }));
    QObject::connect(&Command1, &QPushButton::clicked, window_.get(), guarded(platform_, [this] { Command1_Click(); }));
    QObject::connect(&Command2, &QPushButton::clicked, window_.get(), guarded(platform_, [this] { Command2_Click(); }));
    window_->setCloseHandler(guarded(platform_, [this] { Form_Unload(); }));
}

// Measures with the one rule that loading and saving share, and leaves the
// hidden measuring label at that font and size, as the last measuring left it.
LetterSize OptionsForm::measureLetter(double pointSize)
{
    const LetterSize letter = naturalLetterSize(pointSize);
    Label7.setFont(measuringFont(pointSize));
    Label7.resize(letter.width, letter.height);
    return letter;
}

void OptionsForm::listFontSizes()
{
    Combo1.clear();
    for (std::string_view size : kFontSizes)
        Combo1.addItem(qtText(size));
}

void OptionsForm::selectFontSize(const std::string& text)
{
    Combo1.setCurrentText(qtText(text));
}

std::string OptionsForm::selectedFontSize() const
{
    return utf8Text(Combo1.currentText());
}

void OptionsForm::setGaps(const std::string& columnGap, const std::string& rowGap)
{
    Text1.setText(qtText(columnGap));
    Text2.setText(qtText(rowGap));
}

std::string OptionsForm::columnGap() const
{
    return utf8Text(Text1.text());
}

std::string OptionsForm::rowGap() const
{
    return utf8Text(Text2.text());
}

void OptionsForm::showBannerChoice(int choice)
{
    setForeColour(choice == 1 ? Label6 : Label5, kUnchosenColour);
    setForeColour(choice == 1 ? Label5 : Label6, kChosenColour);
}

void OptionsForm::show()
{
    window_->show();
    window_->activateWindow();
}

} // namespace korval
