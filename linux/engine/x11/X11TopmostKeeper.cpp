#include "engine/TopmostKeeper.h"

#include "X11EventSource.h"

#include <QGuiApplication>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <set>

namespace korval {
namespace {

// Watches the root window's children over a connection of its own and
// raises the saver's windows when a window that is not theirs shows above
// one of them.
class X11TopmostKeeper final : public TopmostKeeper {
public:
    explicit X11TopmostKeeper(std::unique_ptr<X11EventSource> x) : x_(std::move(x))
    {
        x_->select(x_->root(), XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY);
        x_->setHandler([this](const xcb_generic_event_t* event) { handle(event); });
        // Bursts of events (a window mapped, then moved and raised) lead to
        // one look at the stacking order; two programs that both want to be
        // on top cannot make this one spin.
        check_.setSingleShot(true);
        check_.setInterval(50);
        QObject::connect(&check_, &QTimer::timeout, [this] { raiseIfCovered(); });
    }

    void keep(std::vector<QWindow*> windows) override
    {
        windows_.assign(windows.begin(), windows.end());
        check_.start();
    }

private:
    // Only another program's window going up can cover the saver's: the
    // saver's own being raised is not looked at again, so that a window it
    // cannot get above (a compositor's overlay) never makes it raise in a
    // loop.
    void handle(const xcb_generic_event_t* event)
    {
        if (!event)
            return;
        const std::optional<xcb_window_t> moved = windowOf(event);
        if (moved && !ours_.count(*moved) && !check_.isActive())
            check_.start();
    }

    // The window that a change of the stacking order concerns, if any.
    static std::optional<xcb_window_t> windowOf(const xcb_generic_event_t* event)
    {
        switch (eventType(event)) {
        case XCB_MAP_NOTIFY:
            return reinterpret_cast<const xcb_map_notify_event_t*>(event)->window;
        case XCB_CONFIGURE_NOTIFY:
            return reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window;
        case XCB_CIRCULATE_NOTIFY:
            return reinterpret_cast<const xcb_circulate_notify_event_t*>(event)->window;
        case XCB_REPARENT_NOTIFY:
            return reinterpret_cast<const xcb_reparent_notify_event_t*>(event)->window;
        default:
            return std::nullopt;
        }
    }

    // The child of the root window that holds a window: the window itself,
    // or the frame a window manager put it in.
    xcb_window_t topLevelOf(xcb_window_t window) const
    {
        for (int depth = 0; depth < 16; ++depth) {
            xcb_query_tree_reply_t* tree
                = xcb_query_tree_reply(x_->connection(), xcb_query_tree(x_->connection(), window), nullptr);
            if (!tree)
                return XCB_NONE;
            const xcb_window_t parent = tree->parent;
            std::free(tree);
            if (parent == x_->root() || parent == XCB_NONE)
                return window;
            window = parent;
        }
        return XCB_NONE;
    }

    bool viewable(xcb_window_t window) const
    {
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            x_->connection(), xcb_get_window_attributes(x_->connection(), window), nullptr);
        const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(attributes);
        return shown;
    }

    // Whether a window that shows lies above the lowest of the saver's.
    bool covered(const std::set<xcb_window_t>& ours) const
    {
        xcb_query_tree_reply_t* tree
            = xcb_query_tree_reply(x_->connection(), xcb_query_tree(x_->connection(), x_->root()), nullptr);
        if (!tree)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree); // bottom to top
        const int count = xcb_query_tree_children_length(tree);
        bool aboveOurs = false;
        bool foreignAbove = false;
        for (int i = 0; i < count && !foreignAbove; ++i) {
            if (ours.count(children[i]))
                aboveOurs = true;
            else if (aboveOurs && viewable(children[i]))
                foreignAbove = true;
        }
        std::free(tree);
        return foreignAbove;
    }

    void raiseIfCovered()
    {
        x_->readSoon();
        // The program's own message box is to be answered: it stays in front.
        if (QGuiApplication::modalWindow())
            return;
        ours_.clear();
        for (const QPointer<QWindow>& window : windows_) {
            if (window && window->isVisible()) {
                if (const xcb_window_t top = topLevelOf(static_cast<xcb_window_t>(window->winId())))
                    ours_.insert(top);
            }
        }
        if (!ours_.empty() && covered(ours_)) {
            for (const QPointer<QWindow>& window : windows_) {
                if (window && window->isVisible())
                    window->raise();
            }
        }
    }

    std::unique_ptr<X11EventSource> x_;
    std::vector<QPointer<QWindow>> windows_;
    std::set<xcb_window_t> ours_; // the root's children that hold the saver's windows
    QTimer check_;
};

} // namespace

std::unique_ptr<TopmostKeeper> TopmostKeeper::create()
{
    std::unique_ptr<X11EventSource> x = X11EventSource::open();
    if (!x)
        return nullptr;
    return std::make_unique<X11TopmostKeeper>(std::move(x));
}

} // namespace korval
