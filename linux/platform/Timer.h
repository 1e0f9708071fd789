#pragma once

#include "core/saver/PacedFormTimer.h"

#include <QObject>
#include <QTimer>

#include <functional>

namespace korval {

// A form's timer on the GUI thread: the rules' pace (PacedFormTimer) over a
// precise single-shot QTimer.
class Timer final : public QObject, public PacedFormTimer {
    Q_OBJECT

public:
    Timer(int intervalMs, bool enabled, std::function<void()> onTick = {});

private:
    void arm(int milliseconds) override { timer_.start(milliseconds); }
    void disarm() override { timer_.stop(); }

    QTimer timer_;
};

} // namespace korval
