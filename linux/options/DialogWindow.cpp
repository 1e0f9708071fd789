#include "DialogWindow.h"

#include <QCloseEvent>

namespace korval {

DialogWindow::DialogWindow() : QWidget(nullptr, Qt::Window) {}

void DialogWindow::closeEvent(QCloseEvent* event)
{
    if (closeHandler_)
        closeHandler_();
    event->accept();
}

} // namespace korval
