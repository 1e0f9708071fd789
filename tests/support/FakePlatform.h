#pragma once

#include "ScriptedRandom.h"

#include "platform/Platform.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace korval::testing {

// The platform as a test sees it: a screen of any size and any number of
// twips per pixel, a scripted random source, a pointer display count, and
// message boxes and program ends that are recorded instead of shown or done.
class FakePlatform final : public Platform {
public:
    struct Message {
        QString text;
        int style;
    };

    FakePlatform() = default;
    FakePlatform(int widthPixels, int heightPixels, double twipsPerPixel = 15)
    {
        setScreen(widthPixels, heightPixels, twipsPerPixel);
    }

    void setScreen(int widthPixels, int heightPixels, double twipsPerPixel = 15)
    {
        screen_ = QSizeF(widthPixels * twipsPerPixel, heightPixels * twipsPerPixel);
        twipsPerPixel_ = twipsPerPixel;
    }

    RandomSource& random() override { return randomSource; }
    QSizeF screenTwips() const override { return screen_; }
    double twipsPerPixel() const override { return twipsPerPixel_; }
    bool anotherInstanceRunning() const override { return anotherInstance; }
    int ShowCursor(bool show) override { return cursorCount += show ? 1 : -1; }
    void messageBox(const QString& text, int style) override
    {
        messages.push_back({text, style});
        if (onMessageBox)
            onMessageBox();
    }
    void endProgram(int status) override
    {
        if (!exitStatus)
            exitStatus = status;
        ++endCalls;
    }

    bool ended() const { return exitStatus.has_value(); }

    ScriptedRandom randomSource;
    bool anotherInstance = false;
    int cursorCount = 0;
    std::vector<Message> messages;
    std::function<void()> onMessageBox; // looks at the program while its box is open
    std::optional<int> exitStatus;
    int endCalls = 0;

private:
    QSizeF screen_{1024 * 15.0, 768 * 15.0};
    double twipsPerPixel_ = 15;
};

} // namespace korval::testing
