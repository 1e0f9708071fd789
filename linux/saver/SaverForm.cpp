#include "SaverForm.h"

#include "platform/QtText.h"

namespace korval {

SaverForm::SaverForm(Platform& platform, SettingsStore& store)
    : form1_(platform, store, timer1_, timer2_, *this), window_(form1_.M1, {&form1_.Shape1, &form1_.Label1})
{
    window_.setTitle(QStringLiteral("KORVAL"));
    form1_.stage().add(window_);
}

// The windows go before the form's stage, which must not reach them then.
SaverForm::~SaverForm()
{
    for (SaverWindow* window : windows())
        form1_.stage().remove(*window);
}

SaverWindow& SaverForm::screenWindow(std::size_t index)
{
    return *screenWindows_.at(form1_.otherScreens().at(index).get());
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
    form1_.stage().add(*window);
    screenWindows_[&screen] = std::move(window);
}

void SaverForm::screenRemoved(ScreenRain& screen)
{
    const auto found = screenWindows_.find(&screen);
    if (found == screenWindows_.end())
        return;
    form1_.stage().remove(*found->second);
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
    place(window_, form1_.area());
    for (const std::unique_ptr<ScreenRain>& screen : form1_.otherScreens())
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
    for (const std::unique_ptr<ScreenRain>& screen : form1_.otherScreens()) {
        const auto found = screenWindows_.find(screen.get());
        if (found != screenWindows_.end())
            all.push_back(found->second.get());
    }
    return all;
}

} // namespace korval
