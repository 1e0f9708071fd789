#pragma once

#include "ChoiceLabel.h"
#include "DialogWindow.h"
#include "core/options/LetterMeasure.h"

#include "core/runtime/Platform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace korval {

class SettingsStore;

// The options dialog: the font size of the glyph rain, the gaps between its
// columns and between its letters, and whether the "SYSTEM FAILURE" banner
// shows before the saver ends. The store keeps whole cell sizes; the dialog
// shows and takes gaps, converting with the natural size of the letter "M"
// (the hidden measuring label Label7).
class Form2 {
    // Declared first: the controls below are its children and must go first.
    Platform& platform_;
    SettingsStore& store_;
    std::unique_ptr<DialogWindow> window_;

public:
    Form2(Platform& platform, SettingsStore& store);
    ~Form2();

    // Fills the list and the fields from the store; runs once, before show().
    void Form_Load();
    void show();

    QWidget& window() { return *window_; }

    // "ANO" and "NE": choose whether the banner shows.
    void Label5_Click();
    void Label6_Click();
    // OK: checks, stores the four settings and ends the program, or shows why not.
    void Command1_Click();
    // CANCEL, and closing the window: end the program, storing nothing.
    void Command2_Click();
    void Form_Unload();

    QLabel Label1;
    QComboBox Combo1;
    QLabel Label2;
    QLineEdit Text1;
    QLabel Label3;
    QLineEdit Text2;
    QPushButton Command1;
    QPushButton Command2;
    QLabel Label4;
    ChoiceLabel Label5;
    ChoiceLabel Label6;
    QLabel Label7;

    // 1: show the banner before the saver ends ("ANO"); 0: do not ("NE").
    int bannerChoice = 1;

private:
    void design();
    void designCaptions();
    void designFields();
    void designButtons();
    void designMeasuringLabel();
    void connectHandlers();
    QSize measureLetter(double pointSize);

    LetterMeasure measure_;
};

} // namespace korval
