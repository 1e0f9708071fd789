#pragma once

#include "CommandLine.h"

#include "core/runtime/Platform.h"

#include <memory>

namespace korval {

class HostedRain;
class OptionsForm;
class SaverForm;
class SettingsStore;

// What runs when the process starts: the saver form's load, which reads the
// command line and starts the saver, opens the options dialog, shows the
// rain in a screen-saver host's window, or ends.
class Program {
public:
    Program(Platform& platform, SettingsStore& store);
    ~Program();

    void Form_Load(const CommandLine& commandLine);
    // The Windows host's argument string alone.
    void Form_Load(const QString& argumentString);

    SaverForm* saver() { return form1_.get(); }
    OptionsForm* options() { return form2_.get(); }
    HostedRain* hosted() { return hosted_.get(); }

private:
    void ShowOptions();

    Platform& platform_;
    SettingsStore& store_;
    std::unique_ptr<SaverForm> form1_;
    std::unique_ptr<OptionsForm> form2_;
    std::unique_ptr<HostedRain> hosted_;
};

} // namespace korval
