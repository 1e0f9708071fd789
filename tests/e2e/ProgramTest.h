#pragma once

#include "DesktopDriver.h"
#include "GlyphPixels.h"
#include "KorvalProcess.h"
#include "UserSandbox.h"

#include <QStandardPaths>
#include <QThread>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

namespace korval::e2e {

// What every whole-program test has, whatever X server it runs on: its own
// user, a desktop driver for the display, and the built korval to start.
// The fixture that derives from it starts the display and hands it over
// with useDisplay(); the programs a test starts are killed when it ends.
class ProgramTest : public ::testing::Test {
protected:
    // The first of these tools that is not installed, or an empty string.
    static QString missingTool(std::initializer_list<const char*> tools)
    {
        for (const char* tool : tools) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QString::fromLatin1(tool);
        }
        return {};
    }

    void useDisplay(const QString& display)
    {
        display_ = display;
        desktop = std::make_unique<DesktopDriver>(environment());
    }

    QProcessEnvironment environment() const { return user.environment(display_); }

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
    QString display_;
};

} // namespace korval::e2e
