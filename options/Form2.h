#pragma once

#include "platform/Platform.h"

#include <QWidget>

#include <memory>

namespace korval {

class SettingsStore;

// The options dialog.
class Form2 {
public:
    Form2(Platform& platform, SettingsStore& store);
    ~Form2();

    void Form_Load();
    void show();

    QWidget& window() { return *window_; }

private:
    Platform& platform_;
    SettingsStore& store_;
    std::unique_ptr<QWidget> window_;
};

} // namespace korval
