#pragma once

#include "DesktopDriver.h"
#include "GlyphPixels.h"
#include "KorvalProcess.h"
#include "UserSandbox.h"

#include <QElapsedTimer>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>

namespace korval::e2e {

// What every whole-program test has, whatever X server it runs on: its own
// user, a desktop driver for the display, and the built korval to start.
// The fixture that derives from it starts the display and hands it over
// with useDisplay(); the programs a test starts are killed when it ends.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() { clock.start(); }

    // An input sent through a tool, in milliseconds on the test's clock: the
    // server had it by `by`, and not before `from`.
    struct Sent {
        qint64 from;
        qint64 by;
    };

    Sent send(const std::function<void()>& input)
    {
        const qint64 from = clock.elapsed();
        input();
        return {from, clock.elapsed()};
    }

    // Waits for the program to end after an input, and checks its status and
    // that it ended within the given time of the input (measured from when
    // the server had the input to when the end was seen, which is never
    // longer than the true time plus the moment it takes to see the end).
    ::testing::AssertionResult endsWithin(KorvalProcess& program, const Sent& input, int status, qint64 milliseconds)
    {
        const std::optional<int> ended = program.waitForExit(DesktopDriver::kPatienceMs);
        const qint64 after = clock.elapsed() - input.by;
        if (!ended)
            return ::testing::AssertionFailure() << "still running or crashed " << after << " ms after the input";
        if (*ended != status)
            return ::testing::AssertionFailure() << "ended with status " << *ended << " instead of " << status;
        if (after > milliseconds)
            return ::testing::AssertionFailure()
                   << "ended " << after << " ms after the input, later than " << milliseconds << " ms";
        return ::testing::AssertionSuccess() << "ended " << after << " ms after the input";
    }

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

    // Whether the program runs on after an input that should do nothing:
    // it keeps drawing new pictures in the area, and so has gone past the
    // input that the server sent it before; then it is given a moment
    // more, in case it ends on the input but slowly.
    ::testing::AssertionResult runsOnAfterTheInput(KorvalProcess& program, const QRect& area)
    {
        constexpr int kPictures = 3;
        const int seen = desktop->waitForNewPictures(area, kPictures);
        if (seen < kPictures)
            return ::testing::AssertionFailure()
                   << "the rain stopped: " << seen << " new pictures in " << DesktopDriver::kPatienceMs << " ms";
        if (program.waitForExit(300))
            return ::testing::AssertionFailure() << "it ended";
        return ::testing::AssertionSuccess();
    }

    // Starts the saver and waits until its window shows and it holds the
    // keyboard and the pointer, so that what the test types and clicks
    // reaches it.
    std::unique_ptr<KorvalProcess> startSaver() { return startSaver(environment()); }
    std::unique_ptr<KorvalProcess> startSaver(const QProcessEnvironment& environment)
    {
        auto saver = start({QStringLiteral("/s")}, environment);
        saverWindow = desktop->waitForWindow(QStringLiteral("^KORVAL$"), DesktopDriver::kPatienceMs).value_or(QString());
        EXPECT_FALSE(saverWindow.isEmpty()) << "no saver window; stderr: " << saver->errorOutput().toStdString();
        if (!saverWindow.isEmpty() && !desktop->waitUntilInputHeld()) {
            ADD_FAILURE() << "the saver does not take the keyboard and the pointer within "
                          << DesktopDriver::kPatienceMs << " ms";
            saverWindow.clear();
        }
        return saver;
    }

    UserSandbox user;
    std::unique_ptr<DesktopDriver> desktop;
    QString saverWindow;
    QElapsedTimer clock;

private:
    QString display_;
};

} // namespace korval::e2e
