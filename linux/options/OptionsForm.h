#pragma once

#include "ChoiceLabel.h"
#include "DialogWindow.h"

#include "core/options/Form2.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <memory>

namespace korval {

// The options dialog on Linux: the dialog's steps (Form2) shown in Qt
// widgets that keep the controls' own names. The hidden measuring label
// Label7 measures the letter "M".
class OptionsForm final : private OptionsView, public Form2 {
    // Declared first: the controls below are its children and must go first.
    Platform& platform_;
    std::unique_ptr<DialogWindow> window_;

public:
    OptionsForm(Platform& platform, SettingsStore& store);
    ~OptionsForm() override;

    void show();
    QWidget& window() { return *window_; }

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

private:
    // What the steps ask of the widgets.
    void listFontSizes() override;
    void selectFontSize(const std::string& text) override;
    std::string selectedFontSize() const override;
    void setGaps(const std::string& columnGap, const std::string& rowGap) override;
    std::string columnGap() const override;
    std::string rowGap() const override;
    void showBannerChoice(int choice) override;
    LetterSize measureLetter(double pointSize) override;

    void design();
    void designCaptions();
    void designFields();
    void designButtons();
    void designMeasuringLabel();
    void connectHandlers();
};

} // namespace korval
