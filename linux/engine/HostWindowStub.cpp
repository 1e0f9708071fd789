#include "HostWindow.h"

// Built without X11 or without the X Render headers: there is no host window
// to draw in.
namespace korval {

struct HostWindow::X {};

namespace {

QString noX11Text()
{
    return QStringLiteral("cannot draw in a host window: this build has no X11 support");
}

} // namespace

std::unique_ptr<HostWindow> HostWindow::open(std::uint32_t, CellArray&, QString& error)
{
    error = noX11Text();
    return nullptr;
}

HostWindow::~HostWindow() = default;
std::uint32_t HostWindow::id() const { return 0; }
void HostWindow::repaintChanges() {}

} // namespace korval
