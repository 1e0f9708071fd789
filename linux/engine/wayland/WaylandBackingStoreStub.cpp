// Built without the Wayland client library: no window gets a store of its
// own, and Qt's backing store paints everywhere.

#include "WaylandBackingStore.h"

namespace korval {

struct WaylandBackingStore::Wayland {};
struct WaylandBackingStore::Buffer {};

std::unique_ptr<WaylandBackingStore> WaylandBackingStore::create(QWindow&)
{
    return nullptr;
}

WaylandBackingStore::~WaylandBackingStore() = default;

bool WaylandBackingStore::drawsOn(const QWindow&) const
{
    return false;
}

QImage* WaylandBackingStore::beginPaint(QSize, double)
{
    return nullptr;
}

void WaylandBackingStore::flush(const QRegion&) {}

QImage WaylandBackingStore::frame() const
{
    return {};
}

} // namespace korval
