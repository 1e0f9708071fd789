#include "Form2.h"

#include "settings/SettingsStore.h"

namespace korval {

Form2::Form2(Platform& platform, SettingsStore& store)
    : platform_(platform), store_(store), window_(std::make_unique<QWidget>())
{
    window_->setWindowTitle(QStringLiteral("OPTION KORVAL"));
    window_->resize(323, 199);
}

Form2::~Form2() = default;

void Form2::Form_Load()
{
}

void Form2::show()
{
    window_->show();
}

} // namespace korval
