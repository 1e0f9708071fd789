#include "WaylandBackingStore.h"

#include "engine/DevicePixelRect.h"
#include "engine/PrefetchRows.h"

#include <QGuiApplication>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace korval {
namespace {

// Three buffers let the program draw while the compositor still holds the
// one on screen and the one before it; more are never needed.
constexpr std::size_t kMostBuffers = 3;

} // namespace

// The compositor's objects this store uses. Its own objects live on an event
// queue of their own, so that the answers meant for it (a buffer given back)
// are dispatched here, when the store asks, and never among Qt's.
struct WaylandBackingStore::Wayland {
    wl_display* display = nullptr;
    wl_surface* surface = nullptr;
    const void* nativeWindow = nullptr;
    wl_event_queue* queue = nullptr;
    wl_registry* registry = nullptr;
    wl_shm* shm = nullptr;

    ~Wayland()
    {
        if (shm)
            wl_shm_destroy(shm);
        if (registry)
            wl_registry_destroy(registry);
        if (queue)
            wl_event_queue_destroy(queue);
    }
};

// One buffer of the window's pixels in memory shared with the compositor.
struct WaylandBackingStore::Buffer {
    wl_buffer* buffer = nullptr;
    void* memory = MAP_FAILED;
    std::size_t bytes = 0;
    QImage image;
    // Device pixels the screen has shown differently since this buffer was
    // last drawn into; all of it for a new buffer.
    QRegion stale;
    // Attached and not yet given back by the compositor: not to be touched.
    bool busy = false;
    // The number of the flush that last showed it.
    std::uint64_t paintedAt = 0;

    ~Buffer()
    {
        if (buffer)
            wl_buffer_destroy(buffer);
        if (memory != MAP_FAILED)
            munmap(memory, bytes);
    }
};

namespace {

void bufferReleased(void* data, wl_buffer*)
{
    *static_cast<bool*>(data) = false;
}

const wl_buffer_listener kBufferListener = {bufferReleased};

void globalAnnounced(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t)
{
    auto** shm = static_cast<wl_shm**>(data);
    if (!*shm && std::strcmp(interface, wl_shm_interface.name) == 0)
        *shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
}

void globalRemoved(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener kRegistryListener = {globalAnnounced, globalRemoved};

// A file of the given size in memory, mapped; -1 and MAP_FAILED on failure.
void* sharedMemory(std::size_t bytes, int& file)
{
    file = memfd_create("korval-window", MFD_CLOEXEC);
    if (file < 0)
        return MAP_FAILED;
    if (ftruncate(file, static_cast<off_t>(bytes)) != 0) {
        close(file);
        file = -1;
        return MAP_FAILED;
    }
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    if (memory == MAP_FAILED) {
        close(file);
        file = -1;
    }
    return memory;
}

// The window's surface as Qt holds it now; null while it has none.
wl_surface* surfaceOf(QWindow& window)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return native && window.handle() ? static_cast<wl_surface*>(native->nativeResourceForWindow("surface", &window))
                                     : nullptr;
}

} // namespace

std::unique_ptr<WaylandBackingStore> WaylandBackingStore::create(QWindow& window)
{
    if (QGuiApplication::platformName() != QLatin1String("wayland") || !window.handle())
        return nullptr;
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native)
        return nullptr;
    auto wayland = std::make_unique<Wayland>();
    wayland->display = static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"));
    wayland->surface = surfaceOf(window);
    wayland->nativeWindow = window.handle();
    if (!wayland->display || !wayland->surface)
        return nullptr;

    wayland->queue = wl_display_create_queue(wayland->display);
    auto* display = static_cast<wl_display*>(wl_proxy_create_wrapper(wayland->display));
    if (!wayland->queue || !display)
        return nullptr;
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(display), wayland->queue);
    wayland->registry = wl_display_get_registry(display);
    wl_proxy_wrapper_destroy(display);
    if (!wayland->registry)
        return nullptr;
    wl_registry_add_listener(wayland->registry, &kRegistryListener, &wayland->shm);
    if (wl_display_roundtrip_queue(wayland->display, wayland->queue) < 0 || !wayland->shm)
        return nullptr;
    return std::unique_ptr<WaylandBackingStore>(new WaylandBackingStore(std::move(wayland)));
}

WaylandBackingStore::WaylandBackingStore(std::unique_ptr<Wayland> wayland) : wayland_(std::move(wayland)) {}

WaylandBackingStore::~WaylandBackingStore()
{
    // The buffers go before the queue their objects live on.
    buffers_.clear();
}

// Qt makes a new surface when it shows a hidden window again, keeping the
// native window: both are compared.
bool WaylandBackingStore::drawsOn(const QWindow& window) const
{
    return window.handle() == wayland_->nativeWindow && surfaceOf(const_cast<QWindow&>(window)) == wayland_->surface;
}

QImage* WaylandBackingStore::beginPaint(QSize size, double devicePixelRatio)
{
    devicePixelRatio_ = devicePixelRatio;
    // Buffers given back since the last repaint.
    wl_display_dispatch_queue_pending(wayland_->display, wayland_->queue);
    const QSize pixels(static_cast<int>(std::ceil(size.width() * devicePixelRatio)),
                       static_cast<int>(std::ceil(size.height() * devicePixelRatio)));
    painting_ = freeBuffer(pixels);
    if (!painting_)
        return nullptr;
    restoreShown(*painting_);
    painting_->image.setDevicePixelRatio(devicePixelRatio);
    return &painting_->image;
}

// A buffer of the size that the compositor does not hold: one already made,
// or a new one while there are fewer than three. Buffers of another size are
// dropped once the compositor has given them back.
WaylandBackingStore::Buffer* WaylandBackingStore::freeBuffer(QSize pixels)
{
    std::erase_if(buffers_, [&](const std::unique_ptr<Buffer>& buffer) {
        const bool drop = !buffer->busy && buffer->image.size() != pixels;
        if (drop && shown_ == buffer.get())
            shown_ = nullptr;
        return drop;
    });
    // Of the free buffers, the one drawn into last has the least to catch up.
    Buffer* free = nullptr;
    for (const std::unique_ptr<Buffer>& buffer : buffers_) {
        if (!buffer->busy && buffer->image.size() == pixels && (!free || buffer->paintedAt > free->paintedAt))
            free = buffer.get();
    }
    if (free)
        return free;
    if (buffers_.size() >= kMostBuffers || pixels.isEmpty())
        return nullptr;

    auto buffer = std::make_unique<Buffer>();
    const int stride = pixels.width() * 4;
    buffer->bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(pixels.height());
    int file = -1;
    buffer->memory = sharedMemory(buffer->bytes, file);
    if (buffer->memory == MAP_FAILED)
        return nullptr;
    wl_shm_pool* pool = wl_shm_create_pool(wayland_->shm, file, static_cast<std::int32_t>(buffer->bytes));
    buffer->buffer = wl_shm_pool_create_buffer(pool, 0, pixels.width(), pixels.height(), stride, WL_SHM_FORMAT_XRGB8888);
    // The buffer keeps the memory; the pool and the file are no longer needed.
    wl_shm_pool_destroy(pool);
    close(file);
    if (!buffer->buffer)
        return nullptr;
    wl_buffer_add_listener(buffer->buffer, &kBufferListener, &buffer->busy);
    // XRGB8888 in the machine's byte order is Qt's RGB32.
    buffer->image = QImage(static_cast<uchar*>(buffer->memory), pixels.width(), pixels.height(), stride,
                           QImage::Format_RGB32);
    buffer->stale = QRegion(buffer->image.rect());
    buffers_.push_back(std::move(buffer));
    return buffers_.back().get();
}

// Brings a buffer up to what the screen shows, copying only the areas drawn
// in other buffers since it was last drawn into. With nothing shown yet, those
// areas are black, as the window's background is.
void WaylandBackingStore::restoreShown(Buffer& buffer)
{
    if (buffer.stale.isEmpty())
        return;
    const bool fromShown = shown_ && shown_ != &buffer && shown_->image.size() == buffer.image.size();
    const qsizetype stride = buffer.image.bytesPerLine();
    // bits() once: each call checks whether the image must be detached.
    uchar* const to = buffer.image.bits();
    const uchar* const from = fromShown ? shown_->image.constBits() : nullptr;
    for (const QRect& rect : buffer.stale) {
        const QRect area = rect & buffer.image.rect();
        const qsizetype offset = area.top() * stride + area.left() * qsizetype(sizeof(QRgb));
        const std::size_t rowBytes = std::size_t(area.width()) * sizeof(QRgb);
        prefetchRows(to + offset, stride, area.height(), rowBytes);
        for (int y = 0; y < area.height(); ++y) {
            uchar* row = to + offset + y * stride;
            if (from)
                std::memcpy(row, from + offset + y * stride, rowBytes);
            else
                std::fill_n(reinterpret_cast<QRgb*>(row), area.width(), qRgb(0, 0, 0));
        }
    }
    buffer.stale = QRegion();
}

QRegion WaylandBackingStore::devicePixels(const QRegion& region) const
{
    if (devicePixelRatio_ == 1.0)
        return region;
    QRegion scaled;
    for (const QRect& rect : region)
        scaled += devicePixelRect(rect, devicePixelRatio_);
    return scaled;
}

void WaylandBackingStore::flush(const QRegion& region)
{
    Buffer* buffer = std::exchange(painting_, nullptr);
    if (!buffer)
        return;
    const QRegion damage = devicePixels(region);
    wl_surface* surface = wayland_->surface;
    wl_surface_attach(surface, buffer->buffer, 0, 0);
    // Damage in the buffer's pixels came with version 4 of the surface;
    // before it, damage is given in the surface's own pixels.
    const bool bufferDamage = wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface)) >= 4;
    for (const QRect& rect : bufferDamage ? damage : region) {
        if (bufferDamage)
            wl_surface_damage_buffer(surface, rect.x(), rect.y(), rect.width(), rect.height());
        else
            wl_surface_damage(surface, rect.x(), rect.y(), rect.width(), rect.height());
    }
    wl_surface_commit(surface);
    buffer->busy = true;
    buffer->paintedAt = ++flushes_;
    for (const std::unique_ptr<Buffer>& other : buffers_) {
        if (other.get() != buffer)
            other->stale += damage;
    }
    shown_ = buffer;
    wl_display_flush(wayland_->display);
}

QImage WaylandBackingStore::frame() const
{
    return shown_ ? shown_->image.copy() : QImage();
}

} // namespace korval
