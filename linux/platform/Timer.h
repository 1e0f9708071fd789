#pragma once

#include "core/saver/FormTimer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

namespace korval {

// A form's timer: an interval in milliseconds and an enabled flag, ticking on
// the GUI thread. It never fires more often than 64 times per second, the
// classic desktop timer granularity, and keeps an even pace by counting its
// deadlines from a steady clock; a tick that runs late delays the next one
// and missed ticks are not made up.
class Timer final : public QObject, public FormTimer {
    Q_OBJECT

public:
    static constexpr double kFloorMs = 1000.0 / 64.0;

    Timer(int intervalMs, bool enabled, std::function<void()> onTick = {});

    // What each tick runs.
    void setTickHandler(std::function<void()> onTick) override { onTick_ = std::move(onTick); }

    bool isEnabled() const override { return enabled_; }
    // Enabling a running timer leaves its period as it is.
    void setEnabled(bool enabled) override;
    int interval() const override { return intervalMs_; }

private:
    double periodMs() const;
    void arm();
    void fire();

    std::function<void()> onTick_;
    QTimer timer_;
    QElapsedTimer clock_;
    int intervalMs_;
    bool enabled_ = false;
    double nextDueMs_ = 0;
};

} // namespace korval
