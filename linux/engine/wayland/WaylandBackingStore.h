#pragma once

#include <QImage>
#include <QRegion>
#include <QSize>
#include <QWindow>

#include <cstdint>
#include <memory>
#include <vector>

namespace korval {

// The pixels of a window on Wayland, in shared-memory buffers of the
// program's own that are attached to the window's surface, so that a repaint
// costs in proportion to what changed. Qt's own backing store copies its
// whole last buffer into the next one on every repaint when the compositor
// still holds the last one (as compositors that draw from the client's
// memory do), which on a 1920 x 1080 screen is 8 MB 64 times a second. Here
// each buffer remembers the areas shown since it was last drawn into, and
// only those are copied over from the buffer on screen before a repaint; the
// compositor is told of the repainted rectangles alone.
class WaylandBackingStore {
public:
    // Null where the window is not on Wayland, has no surface yet, or the
    // compositor offers no shared memory (or built without Wayland).
    static std::unique_ptr<WaylandBackingStore> create(QWindow& window);
    ~WaylandBackingStore();
    WaylandBackingStore(const WaylandBackingStore&) = delete;
    WaylandBackingStore& operator=(const WaylandBackingStore&) = delete;

    // Whether the window still has the surface this store shows on; a
    // recreated native window needs a new store.
    bool drawsOn(const QWindow& window) const;

    // An image to draw into, of the window's size in device pixels (with its
    // device pixel ratio set), that already shows what the screen shows.
    // Null when every buffer is still the compositor's: then nothing can be
    // drawn now, and the next repaint should draw everything.
    QImage* beginPaint(QSize size, double devicePixelRatio);
    // Shows the image drawn since beginPaint; the region, in the window's
    // pixels, is what changed.
    void flush(const QRegion& region);

    // What the window shows now (a null image before the first flush).
    QImage frame() const;

private:
    struct Wayland;
    struct Buffer;
    explicit WaylandBackingStore(std::unique_ptr<Wayland> wayland);

    Buffer* freeBuffer(QSize pixels);
    void restoreShown(Buffer& buffer);
    QRegion devicePixels(const QRegion& region) const;
    void dropBuffers();

    std::unique_ptr<Wayland> wayland_;
    std::vector<std::unique_ptr<Buffer>> buffers_;
    Buffer* painting_ = nullptr;
    Buffer* shown_ = nullptr;
    double devicePixelRatio_ = 1;
    std::uint64_t flushes_ = 0;
};

} // namespace korval
