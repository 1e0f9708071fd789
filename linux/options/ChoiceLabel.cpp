#include "ChoiceLabel.h"

#include <QMouseEvent>

namespace korval {

ChoiceLabel::ChoiceLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent)
{
    setCursor(Qt::PointingHandCursor);
}

void ChoiceLabel::mouseReleaseEvent(QMouseEvent* event)
{
    // Releasing outside the label is how a user takes a press back.
    const bool inside = rect().contains(event->position().toPoint());
    if (event->button() == Qt::LeftButton && inside && clickHandler_)
        clickHandler_();
    QLabel::mouseReleaseEvent(event);
}

} // namespace korval
