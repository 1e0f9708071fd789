#include "HostedRain.h"

namespace korval {

HostedRain::HostedRain(Platform& platform, SettingsStore& store)
    : WindowRain(platform, store, timer1), platform_(platform)
{
}

// The window goes before the rain's stage, which must not reach it then.
HostedRain::~HostedRain()
{
    if (window_)
        stage().remove(*window_);
}

void HostedRain::showIn(std::uint32_t window)
{
    QString error;
    window_ = HostWindow::open(window, M1, error);
    if (!window_) {
        platform_.messageBox(error.toStdString(), MessageStyle::Critical);
        platform_.endProgram(1);
        return;
    }
    stage().add(*window_);
    window_->setHandlers({[this](QSize pixels) { resize(pixels); }, [this] { platform_.endProgram(0); }});
    start(window_->size());
    // The first picture, black where no glyph is yet, even where nothing
    // will move.
    stage().repaintChanges();
}

} // namespace korval
