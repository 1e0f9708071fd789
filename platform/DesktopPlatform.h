#pragma once

#include "Platform.h"

namespace korval {

class InstanceLock;

// The platform as the real program sees it: Qt's primary screen, the
// override cursor, QMessageBox and an immediate process exit.
class DesktopPlatform final : public Platform {
public:
    // Tries to take the instance lock, if there is one; the lock is given
    // back when the program ends.
    explicit DesktopPlatform(InstanceLock* lock);

    RandomSource& random() override { return random_; }
    QSizeF screenTwips() const override;
    double twipsPerPixel() const override { return TWIPS_PER_PIXEL; }
    bool anotherInstanceRunning() const override { return anotherInstance_; }
    int ShowCursor(bool show) override;
    void messageBox(const QString& text, int style) override;
    [[noreturn]] void endProgram(int status) override;

private:
    ClockSeededRandom random_;
    InstanceLock* lock_;
    bool anotherInstance_;
    int cursorCount_ = 0;
};

} // namespace korval
