#pragma once

#include "core/saver/CellArray.h"
#include "core/saver/Surface.h"

#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace korval {

// A window that another program made (a screen-saver host) and handed over
// by its X window id, on which the X server draws the cells with X Render.
// The program puts nothing of its own on the screen: no child window, no
// backing store. It watches the window over a connection of its own: an
// exposure repaints every cell, a new size is handed on once the burst of
// changes has been read, and the window's destruction is reported. The
// window is the host's: it is never mapped, moved, raised or grabbed here.
class HostWindow final : public Surface {
public:
    struct Handlers {
        std::function<void(QSize pixels)> resized;
        std::function<void()> destroyed;
    };

    // The window to draw in, or the display's root window for 0. Null, with
    // the reason in `error`, when there is no such window or the X server
    // cannot draw the cells on it (no X11 display, no Render, an unusual
    // visual, or built without X11).
    static std::unique_ptr<HostWindow> open(std::uint32_t window, CellArray& cells, QString& error);
    // Whether a host's window can be reached at all: the build has X11 and
    // the X display in $DISPLAY takes connections. Asked before Qt connects,
    // which would abort the program where it cannot.
    static bool displayUsable(QString& error);
    ~HostWindow() override;
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    std::uint32_t id() const;
    QSize size() const { return size_; }
    void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }

    // Draws the cells changed since the last repaint; the first repaint, and
    // the first after an exposure or a new grid, draws them all.
    void repaintChanges() override;
    // The host decides when the program ends: input here is none of its business.
    std::optional<int> cellUnder(PointF) const override { return std::nullopt; }

private:
    struct X;
    HostWindow(std::unique_ptr<X> x, CellArray& cells, QSize size);
    void watchEvents();
    void repaintAll();
    void sizeChanged(QSize pixels);

    std::unique_ptr<X> x_;
    CellArray& cells_;
    QSize size_;
    Handlers handlers_;
    bool needsFullRepaint_ = true;
    bool resizePending_ = false;
    bool cellsRefused_ = false; // too large for the X server: the window stays black
};

} // namespace korval
