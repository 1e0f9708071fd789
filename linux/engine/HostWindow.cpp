#include "HostWindow.h"

#include "ScreenScale.h"
#include "XRenderCellPainter.h"
#include "x11/X11EventSource.h"

#include <QGuiApplication>

#include <cstdlib>
#include <optional>

namespace korval {

struct HostWindow::X {
    std::unique_ptr<X11EventSource> events;
    std::unique_ptr<XRenderCellPainter> painter;
    xcb_window_t window = 0;
};

namespace {

// The host's window holds the cells alone.
const std::vector<WindowlessControl*> kNoControls;

QString windowName(xcb_window_t window)
{
    return QStringLiteral("0x%1").arg(window, 0, 16);
}

// The window's size once its structure and exposures are watched, which is
// done first, so that no change in between is missed; nothing when there is
// no such window.
std::optional<QSize> watchedSize(X11EventSource& events, xcb_window_t window)
{
    if (!events.select(window, XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_EXPOSURE))
        return std::nullopt;
    xcb_connection_t* connection = events.connection();
    xcb_get_geometry_reply_t* geometry = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
    if (!geometry)
        return std::nullopt;
    const QSize size(geometry->width, geometry->height);
    std::free(geometry);
    return size;
}

QString noX11Text()
{
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        return QStringLiteral("cannot open the X display '%1'").arg(qEnvironmentVariable("DISPLAY"));
    return QStringLiteral("a host's window is an X11 window, and Qt runs on its '%1' platform here "
                          "(QT_QPA_PLATFORM=xcb chooses X11)")
        .arg(QGuiApplication::platformName());
}

// The screen that shows the middle of the window: its device pixel ratio
// and resolution lay out and draw the grid as a window of the program's own
// on that screen would be.
ScreenScale scaleOfScreenUnder(X11EventSource& events, xcb_window_t window, QSize size)
{
    xcb_connection_t* connection = events.connection();
    xcb_translate_coordinates_reply_t* place = xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, events.root(), 0, 0), nullptr);
    const QPoint topLeft = place ? QPoint(place->dst_x, place->dst_y) : QPoint();
    std::free(place);
    return screenScaleAt(topLeft + QPoint(size.width() / 2, size.height() / 2), applicationScreenScales());
}

} // namespace

std::unique_ptr<HostWindow> HostWindow::open(std::uint32_t window, CellArray& cells, QString& error)
{
    auto x = std::make_unique<X>();
    x->events = X11EventSource::open();
    if (!x->events) {
        error = noX11Text();
        return nullptr;
    }
    x->window = window ? window : x->events->root();
    const std::optional<QSize> size = watchedSize(*x->events, x->window);
    if (!size) {
        error = QStringLiteral("there is no window %1 on display %2")
                    .arg(windowName(x->window), qEnvironmentVariable("DISPLAY"));
        return nullptr;
    }
    x->painter = XRenderCellPainter::create(WId(x->window), cells.font());
    if (!x->painter) {
        error = QStringLiteral("the X server cannot draw the cells in window %1: that takes the Render "
                               "extension, a 24-bit TrueColor window, and KORVAL_XRENDER other than 0")
                    .arg(windowName(x->window));
        return nullptr;
    }
    const ScreenScale scale = scaleOfScreenUnder(*x->events, x->window, *size);
    x->painter->setDotsPerInch(scale.dotsPerInch);
    x->painter->setDevicePixelRatio(scale.devicePixelRatio);

    std::unique_ptr<HostWindow> host(new HostWindow(std::move(x), cells, *size, scale.devicePixelRatio));
    host->watchEvents();
    return host;
}

void HostWindow::watchEvents()
{
    x_->events->setHandler([this](const xcb_generic_event_t* event) {
        // A lost connection leaves nothing to draw in, as a destroyed window does.
        if (!event || eventType(event) == XCB_DESTROY_NOTIFY) {
            if (handlers_.destroyed)
                handlers_.destroyed();
        } else if (eventType(event) == XCB_CONFIGURE_NOTIFY) {
            const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
            sizeChanged(QSize(configure->width, configure->height));
        } else if (eventType(event) == XCB_EXPOSE && reinterpret_cast<const xcb_expose_event_t*>(event)->count == 0) {
            // The server has cleared what was exposed to the window's background.
            needsFullRepaint_ = true;
            repaintChanges();
        }
    });
}

HostWindow::HostWindow(std::unique_ptr<X> x, CellArray& cells, QSize devicePixels, double devicePixelRatio)
    : x_(std::move(x)), cells_(cells), size_(layoutSize(devicePixels, devicePixelRatio)),
      devicePixelRatio_(devicePixelRatio)
{
}

HostWindow::~HostWindow() = default;

std::uint32_t HostWindow::id() const
{
    return x_->window;
}

// A resize by hand comes as a burst of new sizes; the grid is laid out once,
// for the last, after the burst has been read.
void HostWindow::sizeChanged(QSize devicePixels)
{
    const QSize pixels = layoutSize(devicePixels, devicePixelRatio_);
    if (pixels == size_)
        return;
    size_ = pixels;
    if (resizePending_)
        return;
    resizePending_ = true;
    QMetaObject::invokeMethod(
        x_->events.get(),
        [this] {
            resizePending_ = false;
            needsFullRepaint_ = true;
            if (handlers_.resized)
                handlers_.resized(size_);
        },
        Qt::QueuedConnection);
}

void HostWindow::repaintChanges()
{
    if (needsFullRepaint_ || cells_.geometryChanged())
        repaintAll();
    else if (!cellsRefused_ && !cells_.changes().empty())
        x_->painter->paintChanges(cells_, cells_.changes(), QRegion(), kNoControls);
    cells_.clearChanges();
}

void HostWindow::repaintAll()
{
    needsFullRepaint_ = false;
    cellsRefused_ = x_->painter->paintAll(cells_, size_, kNoControls) < 0;
}

} // namespace korval
