#include "SaverForm.h"

#include "platform/QtText.h"

#include <QCursor>
#include <QGuiApplication>

#include <stdexcept>

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
    return windowOf(form1_.otherScreens().at(index).get());
}

SaverWindow& SaverForm::windowOf(const ScreenRain* screen)
{
    if (!screen)
        return window_;
    SaverWindow* window = screenWindows_.find(screen);
    if (!window)
        throw std::out_of_range("no window for that screen");
    return *window;
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
    SaverWindow& window = screenWindows_.add(screen, screen.M1, std::vector<WindowlessControl*>{});
    window.setTitle(QStringLiteral("KORVAL"));
    try {
        form1_.stage().add(window);
    } catch (...) {
        screenWindows_.remove(screen);
        throw;
    }
}

void SaverForm::screenRemoved(ScreenRain& screen)
{
    if (SaverWindow* window = screenWindows_.find(&screen)) {
        form1_.stage().remove(*window);
        screenWindows_.remove(screen);
    }
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
    startMoves();
    showOnScreens();
    window_.requestActivate();
}

// Moves count from where the pointer stands as the windows show. A Wayland
// program learns where the pointer is only once it enters one of its
// windows (QCursor::pos() is a guess until then): there the stage takes the
// place from that entering.
void SaverForm::startMoves()
{
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        form1_.stage().startMovesAt(point(QCursor::pos()));
}

// Every window over its screen, holding the input and kept on top.
void SaverForm::showOnScreens()
{
    place(window_, form1_.area());
    for (const std::unique_ptr<ScreenRain>& screen : form1_.otherScreens())
        place(windowOf(screen.get()), screen->area());
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
    const std::vector<SaverWindow*> others = screenWindows_.inOrderOf(form1_.otherScreens());
    all.insert(all.end(), others.begin(), others.end());
    return all;
}

} // namespace korval
