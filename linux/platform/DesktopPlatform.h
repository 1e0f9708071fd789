#pragma once

#include "core/runtime/Platform.h"

#include <QTimer>

class QScreen;

namespace korval {

class InstanceLock;

// The platform as the real program sees it: Qt's screens, the override
// cursor, QMessageBox and an immediate process exit.
class DesktopPlatform final : public Platform {
public:
    // Tries to take the instance lock, if there is one; the lock is given
    // back when the program ends.
    explicit DesktopPlatform(InstanceLock* lock);

    RandomSource& random() override { return random_; }
    const RegionalFormat& regionalFormat() const override { return format_; }
    std::vector<ScreenArea> screens() const override;
    void setScreensChangedHandler(std::function<void()> handler) override;
    bool anotherInstanceRunning() const override { return anotherInstance_; }
    void hidePointer() override;
    void showPointer() override;
    void messageBox(const std::string& text, MessageStyle style) override;
    [[noreturn]] void endProgram(int status) override;

private:
    ClockSeededRandom random_;
    RegionalFormat format_;
    InstanceLock* lock_;
    bool anotherInstance_;
    bool pointerHidden_ = false;
    // Screens change in bursts (a monitor switched off removes a screen and
    // moves the others); the handler hears of a burst once it is over.
    QTimer screensSettled_;
    void watchScreen(const QScreen* screen);
};

} // namespace korval
