#pragma once

#include "DesktopDriver.h"
#include "GlyphPixels.h"
#include "KorvalProcess.h"
#include "UserSandbox.h"
#include "VirtualDisplay.h"

#include <QImage>
#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace korval::e2e {

// Each whole-program test gets its own X display, its own user and a desktop
// driver for both; the programs it starts are killed when it ends.
class WholeProgramTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "xev"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps.sh installs it)";
        }
        display_ = std::make_unique<VirtualDisplay>();
        ASSERT_TRUE(display_->isReady()) << display_->error().toStdString();
        ASSERT_TRUE(user.isValid());
        desktop = std::make_unique<DesktopDriver>(environment());
    }

    QProcessEnvironment environment() const { return user.environment(display_->name()); }

    std::unique_ptr<KorvalProcess> start(const QString& argument) { return start({argument}, environment()); }

    std::unique_ptr<KorvalProcess> start(const QStringList& arguments, const QProcessEnvironment& environment)
    {
        auto process = std::make_unique<KorvalProcess>(arguments, environment);
        EXPECT_TRUE(process->started());
        return process;
    }

    // Starts the saver and waits until its window shows and takes input.
    std::unique_ptr<KorvalProcess> startSaver()
    {
        auto saver = start(QStringLiteral("/s"));
        saverWindow = desktop->waitForWindow(QStringLiteral("^KORVAL$"), 5000).value_or(QString());
        EXPECT_FALSE(saverWindow.isEmpty()) << "no saver window; stderr: " << saver->errorOutput().toStdString();
        QThread::msleep(300);
        return saver;
    }

    UserSandbox user;
    std::unique_ptr<DesktopDriver> desktop;
    QString saverWindow;

private:
    std::unique_ptr<VirtualDisplay> display_;
};

} // namespace korval::e2e
