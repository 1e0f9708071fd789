#pragma once

#include <QWidget>

#include <functional>

namespace korval {

// The dialog's frame: a fixed-size top-level window that tells its form when
// the user closes it from the title bar.
class DialogWindow : public QWidget {
    Q_OBJECT

public:
    DialogWindow();

    void setCloseHandler(std::function<void()> handler) { closeHandler_ = std::move(handler); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<void()> closeHandler_;
};

} // namespace korval
