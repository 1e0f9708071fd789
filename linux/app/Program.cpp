#include "Program.h"

#include "Usage.h"

#include "core/settings/SettingsStore.h"
#include "options/OptionsForm.h"
#include "platform/QtText.h"
#include "saver/HostedRain.h"
#include "saver/SaverForm.h"

#include <cstdio>

namespace korval {

Program::Program(Platform& platform, SettingsStore& store) : platform_(platform), store_(store) {}

Program::~Program() = default;

void Program::Form_Load(const QString& argumentString)
{
    CommandLine commandLine;
    commandLine.mode = selectMode(utf8Text(argumentString));
    Form_Load(commandLine);
}

void Program::Form_Load(const CommandLine& commandLine)
{
    store_.setRunOnly(commandLine.runOnly);
    switch (commandLine.mode) {
    case Mode::Preview:
    case Mode::PasswordChange:
        platform_.endProgram(0);
        return;
    case Mode::Configure:
        ShowOptions();
        return;
    case Mode::Saver:
        form1_ = std::make_unique<SaverForm>(platform_, store_);
        form1_->form1().StartSaver();
        // Start-up ends the program when another instance runs; the window
        // of a program that has ended never shows.
        if (!platform_.anotherInstanceRunning())
            form1_->show();
        return;
    case Mode::Hosted:
        hosted_ = std::make_unique<HostedRain>(platform_, store_);
        hosted_->showIn(commandLine.window);
        return;
    case Mode::Unknown:
        std::fprintf(stderr, "%s\n", qPrintable(usageText()));
        platform_.endProgram(2);
        return;
    }
}

// The saver form is never shown in options mode: the dialog is the only
// window, and closing it ends the program.
void Program::ShowOptions()
{
    form2_ = std::make_unique<OptionsForm>(platform_, store_);
    form2_->Form_Load();
    form2_->show();
}

} // namespace korval
