#include "SaverForm.h"

#include "platform/QtText.h"

namespace korval {

SaverForm::SaverForm(Platform& platform, SettingsStore& store)
    : Form1(platform, store, timer1, timer2, *this), window_(M1, {&Shape1, &Label1})
{
    window_.setTitle(QStringLiteral("KORVAL"));
    stage().add(window_);
}

// The windows go before the form's stage, which must not reach them then.
SaverForm::~SaverForm()
{
    for (SaverWindow* window : windows())
        stage().remove(*window);
}

SaverWindow& SaverForm::screenWindow(std::size_t index)
{
    return *screenWindows_.at(otherScreens().at(index).get());
}

SaverWindow& SaverForm::windowOf(const ScreenRain* screen)
{
    return screen ? *screenWindows_.at(screen) : window_;
}

bool SaverForm::keepOnTop(const ScreenRain* screen)
{
    windowOf(screen).setFlag(Qt::WindowStaysOnTopHint, true);
    return true;
}

bool SaverForm::leaveTop(const ScreenRain* screen)
{
    windowOf(screen).setFlag(Qt::WindowStaysOnTopHint, false);
    return true;
}

void SaverForm::screenAdded(ScreenRain& screen)
{
    auto window = std::make_unique<SaverWindow>(screen.M1, std::vector<WindowlessControl*>{});
    window->setTitle(QStringLiteral("KORVAL"));
    stage().add(*window);
    screenWindows_[&screen] = std::move(window);
}

void SaverForm::screenRemoved(ScreenRain& screen)
{
    const auto found = screenWindows_.find(&screen);
    if (found == screenWindows_.end())
        return;
    stage().remove(*found->second);
    screenWindows_.erase(found);
}

void SaverForm::screensFollowed()
{
    if (shown_)
        showOnScreens();
}

void SaverForm::releaseInput()
{
    grab_.release();
}

void SaverForm::show()
{
    shown_ = true;
    topmost_ = TopmostKeeper::create();
    showOnScreens();
    window_.requestActivate();
}

// Every window over its screen, holding the input and kept on top.
void SaverForm::showOnScreens()
{
    place(window_, area());
    for (const std::unique_ptr<ScreenRain>& screen : otherScreens())
        place(*screenWindows_.at(screen.get()), screen->area());
    grab_.holdFor(&window_);
    if (topmost_) {
        const std::vector<SaverWindow*> shown = windows();
        topmost_->keep(std::vector<QWindow*>(shown.begin(), shown.end()));
    }
}

void SaverForm::place(SaverWindow& window, const ScreenArea& area)
{
    window.setGeometry(qtRect(area.geometry));
    window.showFullScreen();
}

// The form's window first, then the other screens' in the order they are listed.
std::vector<SaverWindow*> SaverForm::windows()
{
    std::vector<SaverWindow*> all{&window_};
    for (const std::unique_ptr<ScreenRain>& screen : otherScreens()) {
        const auto found = screenWindows_.find(screen.get());
        if (found != screenWindows_.end())
            all.push_back(found->second.get());
    }
    return all;
}

} // namespace korval
