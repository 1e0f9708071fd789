#pragma once

#include <QLabel>

#include <functional>

namespace korval {

// A caption that answers a click, as the dialog's "ANO" and "NE" do: a press
// and release of the left button over the label is one click.
class ChoiceLabel : public QLabel {
    Q_OBJECT

public:
    ChoiceLabel(const QString& caption, QWidget* parent);

    void setClickHandler(std::function<void()> handler) { clickHandler_ = std::move(handler); }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> clickHandler_;
};

} // namespace korval
