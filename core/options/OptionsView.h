#pragma once

#include "DialogFields.h"
#include "LetterMeasure.h"

#include <string>

namespace korval {

// What the options dialog's steps need of its window: the list and the two
// gap boxes as text (UTF-8), the colours of the two choice labels, and the
// measuring label. The front end keeps the controls; the steps decide.
class OptionsView {
public:
    virtual ~OptionsView() = default;

    // Fills the size list with the offered sizes, in order, selecting none.
    virtual void listFontSizes() = 0;
    // Selects the list's entry of that text, or none when it has no such entry.
    virtual void selectFontSize(const std::string& text) = 0;
    virtual std::string selectedFontSize() const = 0;
    virtual void setGaps(const std::string& columnGap, const std::string& rowGap) = 0;
    virtual std::string columnGap() const = 0;
    virtual std::string rowGap() const = 0;

    // Shows which choice is made: "ANO" (1) or "NE" (0) in the chosen colour,
    // the other in the unchosen one.
    virtual void showBannerChoice(int choice) = 0;

    // The natural size of the letter "M" in the regular face at the size;
    // the hidden measuring label is left at that font and size.
    virtual LetterSize measureLetter(double pointSize) = 0;
};

} // namespace korval
