#include "support/FakePlatform.h"
#include "support/TempStore.h"

#include "options/LetterFont.h"
#include "options/OptionsForm.h"
#include "platform/LocaleFormat.h"

#include "core/saver/Palette.h"

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace korval {
namespace {

using testing::FakePlatform;
using testing::TempStore;
namespace keys = settings;

// The dialog on a store of its own, opened as the program opens it.
struct Dialog {
    FakePlatform platform;
    TempStore temp;
    std::unique_ptr<OptionsForm> form;

    void store(const char* size, const char* width, const char* height, const char* system)
    {
        temp.store.SaveSettings(keys::kApplication, keys::kSection,
                                {{"TEXTSIZE", size}, {"WIDTH", width}, {"HEIGHT", height}, {"SYSTEM", system}});
    }
    OptionsForm& open()
    {
        form = std::make_unique<OptionsForm>(platform, temp.store);
        form->Form_Load();
        form->show();
        return *form;
    }
    void type(QLineEdit& box, const QString& text)
    {
        box.selectAll();
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClicks(&box, text);
    }
    void pressOk() { QTest::mouseClick(&form->Command1, Qt::LeftButton); }
    // The stored values as text: width and height of a cell, then the rest.
    QStringList stored() const
    {
        return {temp.get(keys::kTextSize), temp.get(keys::kWidth), temp.get(keys::kHeight), temp.get(keys::kSystem)};
    }
};

QString pixels(int value)
{
    return QString::number(value);
}

QRgb foreColour(const QWidget& widget)
{
    return widget.palette().color(QPalette::WindowText).rgb();
}

TEST(Form2Layout, WindowAndControlsAsDesigned)
{
    Dialog dialog;
    OptionsForm& form = dialog.open();
    EXPECT_EQ(form.window().windowTitle(), QStringLiteral("OPTION KORVAL"));
    EXPECT_EQ(form.window().size(), QSize(323, 199));
    EXPECT_EQ(form.window().palette().color(QPalette::Window).rgb(), BLACK);

    struct Caption {
        QLabel* label;
        const char16_t* text;
    };
    for (const Caption& caption : {Caption{&form.Label1, u"VELIKOST PÍSMA"},
                                   Caption{&form.Label2, u"MEZERY MEZI SKOUPCI(ŠÍŘKA)"},
                                   Caption{&form.Label3, u"MEZERY MEZI PÍSMENY(VÍSKA)"},
                                   Caption{&form.Label4, u"ZOBRAZIT TEXT \"SYSTEM FAILURE\""},
                                   Caption{&form.Label5, u"ANO"},
                                   Caption{&form.Label6, u"NE"}}) {
        const QString text = QString::fromUtf16(caption.text);
        EXPECT_EQ(caption.label->text(), text);
        EXPECT_TRUE(caption.label->isVisible()) << qPrintable(text);
        EXPECT_DOUBLE_EQ(caption.label->font().pointSizeF(), 12.0) << qPrintable(text);
        EXPECT_GE(caption.label->width(), caption.label->fontMetrics().horizontalAdvance(text))
            << "cut short: " << qPrintable(text);
    }
    EXPECT_EQ(form.Label4.text().size(), 30);
    EXPECT_EQ(foreColour(form.Label1), CAPTION_COLOUR);

    EXPECT_EQ(form.Command1.text(), QStringLiteral("OK"));
    EXPECT_EQ(form.Command2.text(), QStringLiteral("CANCEL"));
    EXPECT_EQ(form.Label7.text(), QStringLiteral("M"));
    EXPECT_FALSE(form.Label7.isVisible());
}

TEST(Form2Layout, ListOffersTheSixSizesInOrderAndTakesNoTyping)
{
    Dialog dialog;
    OptionsForm& form = dialog.open();
    QStringList entries;
    for (int i = 0; i < form.Combo1.count(); ++i)
        entries << form.Combo1.itemText(i);
    EXPECT_EQ(entries, (QStringList{"8", "10", "12", "14", "17", "24"}));
    EXPECT_FALSE(form.Combo1.isEditable());
}

TEST(Form2Keyboard, FocusStartsInTheListAndTabVisitsTheFieldsAndButtons)
{
    Dialog dialog;
    OptionsForm& form = dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form.window()));
    EXPECT_EQ(QApplication::focusWidget(), &form.Combo1);
    const std::initializer_list<QWidget*> order{&form.Text1, &form.Text2, &form.Command1, &form.Command2, &form.Combo1};
    int step = 0;
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << "after Tab number " << ++step;
    }
}

TEST(Form2Keyboard, EnterAndEscapePressNoButtonButSpaceDoes)
{
    Dialog dialog;
    OptionsForm& form = dialog.open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form.window()));
    for (QWidget* target : std::initializer_list<QWidget*>{&form.Text1, &form.Command1, &form.Command2}) {
        target->setFocus();
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter);
        QTest::keyClick(target, Qt::Key_Escape);
    }
    EXPECT_FALSE(dialog.platform.ended());
    EXPECT_TRUE(form.window().isVisible());

    form.Command1.setFocus();
    QTest::keyClick(&form.Command1, Qt::Key_Space);
    EXPECT_EQ(dialog.platform.exitStatus, 0) << "OK pressed from the keyboard";
}

struct ChoiceRow {
    const char* name;
    const char* system;
    int bannerChoice;
};

class Form2StoredChoice : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(Form2StoredChoice, StoredSystemBrightensOneLabelAndDimsTheOther)
{
    Dialog dialog;
    dialog.store("12", "20", "20", GetParam().system);
    OptionsForm& form = dialog.open();
    const bool yes = GetParam().bannerChoice == 1;
    EXPECT_EQ(form.bannerChoice, GetParam().bannerChoice);
    EXPECT_EQ(foreColour(form.Label5), yes ? CAPTION_COLOUR : TRAIL_COLOUR);
    EXPECT_EQ(foreColour(form.Label6), yes ? TRAIL_COLOUR : CAPTION_COLOUR);
    EXPECT_EQ(form.Combo1.currentText(), QStringLiteral("12"));
}

INSTANTIATE_TEST_SUITE_P(Rows, Form2StoredChoice,
                         ::testing::Values(ChoiceRow{"One", "1", 1}, ChoiceRow{"LeadingZero", "01", 1},
                                           ChoiceRow{"Zero", "0", 0}, ChoiceRow{"Two", "2", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Form2Choice, ClickingNoThenYesLeavesYesChosen)
{
    Dialog dialog;
    dialog.store("10", "13", "18", "1");
    OptionsForm& form = dialog.open();
    QTest::mouseClick(&form.Label6, Qt::LeftButton);
    EXPECT_EQ(form.bannerChoice, 0);
    EXPECT_EQ(foreColour(form.Label6), CAPTION_COLOUR);
    EXPECT_EQ(foreColour(form.Label5), TRAIL_COLOUR);
    for (int click = 0; click < 2; ++click) { // the second click on the bright label changes nothing
        QTest::mouseClick(&form.Label5, Qt::LeftButton);
        EXPECT_EQ(form.bannerChoice, 1);
        EXPECT_EQ(foreColour(form.Label5), CAPTION_COLOUR);
        EXPECT_EQ(foreColour(form.Label6), TRAIL_COLOUR);
    }
    EXPECT_EQ(dialog.stored()[3], QStringLiteral("1")) << "a choice is not stored before OK";

    QTest::mouseClick(&form.Label6, Qt::LeftButton);
    dialog.pressOk();
    EXPECT_EQ(dialog.stored()[3], QStringLiteral("0"));
}

TEST(Form2RoundTrip, GapsStoreTheLetterPlusTheGapAndReopenAsTyped)
{
    const LetterSize letter = naturalLetterSize(12);
    Dialog dialog;
    OptionsForm& form = dialog.open();
    form.Combo1.setCurrentText(QStringLiteral("12"));
    dialog.type(form.Text1, QStringLiteral("3"));
    dialog.type(form.Text2, QStringLiteral("1"));
    dialog.pressOk();
    EXPECT_EQ(dialog.platform.exitStatus, 0);
    EXPECT_TRUE(dialog.platform.messages.empty());
    EXPECT_EQ(dialog.stored(), (QStringList{"12", pixels(letter.width + 3), pixels(letter.height + 1), "1"}));

    OptionsForm& reopened = dialog.open();
    EXPECT_EQ(reopened.Combo1.currentText(), QStringLiteral("12"));
    EXPECT_EQ(reopened.Text1.text(), QStringLiteral("3"));
    EXPECT_EQ(reopened.Text2.text(), QStringLiteral("1"));
}

TEST(Form2RoundTrip, NoGapsStoreTheNaturalSize)
{
    const LetterSize letter = naturalLetterSize(17);
    Dialog dialog;
    OptionsForm& form = dialog.open();
    form.Combo1.setCurrentText(QStringLiteral("17"));
    dialog.type(form.Text1, QStringLiteral("0"));
    dialog.type(form.Text2, QStringLiteral("0"));
    dialog.pressOk();
    EXPECT_EQ(dialog.stored(), (QStringList{"17", pixels(letter.width), pixels(letter.height), "1"}));
}

TEST(Form2RoundTrip, StoredCellAtOrBelowTheLetterShowsZeroOrANegativeGap)
{
    const LetterSize letter = naturalLetterSize(14);
    Dialog dialog;
    const QByteArray width = pixels(letter.width).toLatin1(), height = pixels(letter.height - 1).toLatin1();
    dialog.store("14", width.constData(), height.constData(), "1");
    OptionsForm& form = dialog.open();
    EXPECT_EQ(form.Text1.text(), QStringLiteral("0"));
    EXPECT_EQ(form.Text2.text(), QStringLiteral("-1"));
}

TEST(Form2RoundTrip, NothingStoredOpensWithTheSaversDefaults)
{
    const LetterSize letter = naturalLetterSize(10);
    Dialog dialog;
    OptionsForm& form = dialog.open();
    EXPECT_FALSE(dialog.platform.ended());
    EXPECT_EQ(form.Combo1.currentText(), QStringLiteral("10"));
    EXPECT_EQ(form.Text1.text(), pixels(13 - letter.width));
    EXPECT_EQ(form.Text2.text(), pixels(18 - letter.height));
    EXPECT_EQ(form.bannerChoice, 1);
    EXPECT_FALSE(QFile::exists(dialog.temp.filePath())) << "opening must not write";

    dialog.pressOk();
    EXPECT_EQ(dialog.stored(), (QStringList{"10", "13", "18", "1"}));
}

TEST(Form2RoundTrip, DecimalCommaLocale)
{
    const QLocale previous;
    QLocale::setDefault(QLocale(QStringLiteral("cs_CZ")));
    const LetterSize letter = naturalLetterSize(8);
    Dialog dialog;
    dialog.platform.format = regionalFormatOf(QLocale());
    OptionsForm& form = dialog.open();
    form.Combo1.setCurrentText(QStringLiteral("8"));
    dialog.type(form.Text1, QStringLiteral("2,0"));
    dialog.type(form.Text2, QStringLiteral("-1"));
    dialog.pressOk();
    const QStringList stored = dialog.stored();
    OptionsForm& reopened = dialog.open();
    const QString columnGap = reopened.Text1.text(), rowGap = reopened.Text2.text();
    QLocale::setDefault(previous);

    EXPECT_EQ(stored, (QStringList{"8", pixels(letter.width + 2), pixels(letter.height - 1), "1"}));
    EXPECT_EQ(columnGap, QStringLiteral("2"));
    EXPECT_EQ(rowGap, QStringLiteral("-1"));
}

struct RefusalRow {
    const char* name;
    const char16_t* columnGap;
    const char16_t* rowGap;
    MessageStyle style; // of the message shown
};

class Form2RefusedEntry : public ::testing::TestWithParam<RefusalRow> {};

// The store keeps what it held, the fields what the user typed, and the
// dialog stays open; correcting the field then stores sizes measured afresh
// at the size chosen since.
TEST_P(Form2RefusedEntry, ShowsWhyAndChangesNothingUntilCorrected)
{
    const RefusalRow& row = GetParam();
    Dialog dialog;
    dialog.store("10", "13", "18", "1");
    const QByteArray before = dialog.temp.fileBytes();
    OptionsForm& form = dialog.open();
    QTest::mouseClick(&form.Label6, Qt::LeftButton);
    dialog.type(form.Text1, QString::fromUtf16(row.columnGap));
    dialog.type(form.Text2, QString::fromUtf16(row.rowGap));
    dialog.pressOk();

    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_EQ(dialog.platform.messages[0].text, row.style == MessageStyle::Critical ? kFillEverything : kWholeNumbersOnly);
    EXPECT_EQ(dialog.platform.messages[0].style, row.style);
    EXPECT_FALSE(dialog.platform.ended());
    EXPECT_TRUE(form.window().isVisible());
    EXPECT_EQ(dialog.temp.fileBytes(), before);
    EXPECT_EQ(form.Text1.text(), QString::fromUtf16(row.columnGap));
    EXPECT_EQ(form.Text2.text(), QString::fromUtf16(row.rowGap));
    EXPECT_EQ(form.Combo1.currentText(), QStringLiteral("10"));
    EXPECT_EQ(form.bannerChoice, 0);

    const LetterSize letter = naturalLetterSize(24);
    form.Combo1.setCurrentText(QStringLiteral("24"));
    dialog.type(form.Text1, QStringLiteral("2"));
    dialog.type(form.Text2, QStringLiteral("4"));
    dialog.pressOk();
    EXPECT_EQ(dialog.platform.exitStatus, 0);
    EXPECT_EQ(dialog.stored(), (QStringList{"24", pixels(letter.width + 2), pixels(letter.height + 4), "0"}));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Form2RefusedEntry,
    ::testing::Values(RefusalRow{"EmptyRowGap", u"1", u"", MessageStyle::Critical},
                      RefusalRow{"LettersAsColumnGap", u"abc", u"1", MessageStyle::Plain},
                      RefusalRow{"FractionalGap", u"1", u"1.5", MessageStyle::Plain},
                      RefusalRow{"SpacesAreNotEmpty", u"  ", u"1", MessageStyle::Plain},
                      RefusalRow{"CellBelowOnePixel", u"-50", u"2", MessageStyle::Plain}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form2Refusal, ListWithNothingChosenAsksForEveryField)
{
    Dialog dialog;
    OptionsForm& form = dialog.open();
    form.Combo1.setCurrentIndex(-1);
    dialog.pressOk();
    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_EQ(dialog.platform.messages[0].text, kFillEverything);
    EXPECT_EQ(dialog.platform.messages[0].style, MessageStyle::Critical);
    EXPECT_FALSE(QFile::exists(dialog.temp.filePath()));
}

// A store that cannot be written: the message, the dialog open, the file as
// it was. (Root may write anywhere, so the store also honours the owner's
// write bit; a folder that is a file fails for everyone.)
TEST(Form2Unwritable, ReadOnlyFileKeepsEveryKey)
{
    Dialog dialog;
    dialog.store("10", "13", "18", "1");
    const QByteArray before = dialog.temp.fileBytes();
    QFile::setPermissions(dialog.temp.filePath(), QFileDevice::ReadOwner);
    OptionsForm& form = dialog.open();
    form.Combo1.setCurrentText(QStringLiteral("24"));
    dialog.type(form.Text1, QStringLiteral("5"));
    dialog.pressOk();
    QFile::setPermissions(dialog.temp.filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_EQ(dialog.platform.messages[0].text, kWholeNumbersOnly);
    EXPECT_EQ(dialog.platform.messages[0].style, MessageStyle::Plain);
    EXPECT_FALSE(dialog.platform.ended());
    EXPECT_EQ(dialog.temp.fileBytes(), before);
    EXPECT_EQ(form.Text1.text(), QStringLiteral("5"));
}

TEST(Form2Unwritable, FolderThatIsAFile)
{
    Dialog dialog;
    QFile blocker(dialog.temp.folder.path() + QStringLiteral("/KORVAL"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.write("keep");
    blocker.close();
    dialog.open();
    dialog.pressOk();
    ASSERT_EQ(dialog.platform.messages.size(), 1u);
    EXPECT_EQ(dialog.platform.messages[0].text, kWholeNumbersOnly);
    EXPECT_FALSE(dialog.platform.ended());
    ASSERT_TRUE(blocker.open(QIODevice::ReadOnly));
    EXPECT_EQ(blocker.readAll(), QByteArray("keep"));
}

TEST(Form2Leaving, CancelAndClosingEndWithoutWriting)
{
    for (bool viaCancel : {true, false}) {
        Dialog dialog;
        dialog.store("12", "16", "21", "0");
        const QByteArray before = dialog.temp.fileBytes();
        OptionsForm& form = dialog.open();
        dialog.type(form.Text1, QStringLiteral("7"));
        QTest::mouseClick(&form.Label5, Qt::LeftButton);
        if (viaCancel)
            QTest::mouseClick(&form.Command2, Qt::LeftButton);
        else
            form.window().close();
        EXPECT_EQ(dialog.platform.exitStatus, 0) << viaCancel;
        EXPECT_TRUE(dialog.platform.messages.empty()) << viaCancel;
        EXPECT_EQ(dialog.temp.fileBytes(), before) << viaCancel;
    }
}

} // namespace
} // namespace korval
