#include "XRenderCellPainter.h"

#include "ControlPainting.h"
#include "DevicePixelRect.h"

#include "core/saver/Palette.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/render.h>
#include <xcb/xcb.h>
#include <xcb/xcb_renderutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace korval {

namespace {

// The head of a glyph element in a CompositeGlyphs request (the protocol's
// GLYPHELT8), which the xcb headers leave to the caller.
struct GlyphElement {
    std::uint8_t length;
    std::uint8_t pad[3];
    std::int16_t dx;
    std::int16_t dy;
};
static_assert(sizeof(GlyphElement) == 8);

// One glyph per element: the element's header, the glyph's code, padding to
// a whole word. The pen moves by the element's offset only (glyphs advance
// by nothing), so each element places one cell.
constexpr std::size_t kElementBytes = sizeof(GlyphElement) + 4;
// Elements per request: 48 KiB, well inside the smallest request size limit
// that a server without big requests has (256 KiB).
constexpr std::size_t kElementsPerRequest = 4096;
constexpr std::size_t kRectsPerRequest = 8192;

// A glyph's coverage goes to the server one byte per pixel, each row padded
// to a whole word.
std::size_t glyphStride(int width)
{
    return std::size_t((width + 3) & ~3);
}

std::size_t glyphBytes(QSize size)
{
    return size.isEmpty() ? 0 : glyphStride(size.width()) * std::size_t(size.height());
}

xcb_render_color_t renderColour(QRgb rgb)
{
    return {static_cast<std::uint16_t>(qRed(rgb) * 257), static_cast<std::uint16_t>(qGreen(rgb) * 257),
            static_cast<std::uint16_t>(qBlue(rgb) * 257), 0xFFFF};
}

// The picture format with the given id, or null.
const xcb_render_pictforminfo_t* formatInfo(const xcb_render_query_pict_formats_reply_t* formats,
                                            xcb_render_pictformat_t id)
{
    for (auto it = xcb_render_query_pict_formats_formats_iterator(formats); it.rem; xcb_render_pictforminfo_next(&it)) {
        if (it.data->id == id)
            return it.data;
    }
    return nullptr;
}

// Whether the server lays out pixels of this depth as a QImage::Format_RGB32
// of this machine does: 32 bits per pixel, red in bits 16..23, least
// significant byte first. Only then can the controls' image be sent as it is.
bool takesRgb32(xcb_connection_t* connection, const xcb_render_pictforminfo_t& format)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (format.type != XCB_RENDER_PICT_TYPE_DIRECT || format.depth != 24 || format.direct.red_shift != 16
        || format.direct.green_shift != 8 || format.direct.blue_shift != 0
        || setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST || QSysInfo::ByteOrder != QSysInfo::LittleEndian)
        return false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it)) {
        if (it.data->depth == 24)
            return it.data->bits_per_pixel == 32 && it.data->scanline_pad == 32;
    }
    return false;
}

// The picture formats a painter needs: the window's own and the glyphs' alpha.
struct RenderFormats {
    xcb_render_pictformat_t window = 0;
    xcb_render_pictformat_t alpha = 0;
};

// The program's connection to the X server, where it runs on X11.
xcb_connection_t* x11Connection()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    return connection && !xcb_connection_has_error(connection) ? connection : nullptr;
}

// Whether the server has Render 0.10 or later (solid fill pictures came with
// it). Asked before any other Render request: a request of an extension the
// server lacks would close the connection.
bool serverHasRender(xcb_connection_t* connection)
{
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_render_id);
    if (!extension || !extension->present)
        return false;
    xcb_render_query_version_reply_t* version
        = xcb_render_query_version_reply(connection, xcb_render_query_version(connection, 0, 11), nullptr);
    const bool recent = version && (version->major_version > 0 || version->minor_version >= 10);
    std::free(version);
    return recent;
}

// The formats for drawing on this window, or nothing when its visual is not
// laid out as the controls' images are.
std::optional<RenderFormats> renderFormatsFor(xcb_connection_t* connection, xcb_window_t window)
{
    xcb_get_window_attributes_reply_t* attributes
        = xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, window), nullptr);
    if (!attributes)
        return std::nullopt;
    const xcb_visualid_t visual = attributes->visual;
    std::free(attributes);

    const xcb_render_query_pict_formats_reply_t* formats = xcb_render_util_query_formats(connection);
    if (!formats)
        return std::nullopt;
    const xcb_render_pictvisual_t* windowFormat = xcb_render_util_find_visual_format(formats, visual);
    const xcb_render_pictforminfo_t* alpha = xcb_render_util_find_standard_format(formats, XCB_PICT_STANDARD_A_8);
    const xcb_render_pictforminfo_t* windowInfo = windowFormat ? formatInfo(formats, windowFormat->format) : nullptr;
    if (!windowInfo || !alpha || !takesRgb32(connection, *windowInfo))
        return std::nullopt;
    return RenderFormats{windowInfo->id, alpha->id};
}

} // namespace

struct XRenderCellPainter::Connection {
    xcb_connection_t* connection = nullptr;
    xcb_window_t window = 0;
    xcb_render_picture_t picture = 0;
    xcb_render_pictformat_t alphaFormat = 0;
    xcb_gcontext_t gc = 0;
    std::size_t maxRequestBytes = 0;

    // A glyph or an image row of this size fits in one request.
    bool fits(std::size_t bytes) const { return bytes + 64 <= maxRequestBytes; }
};

std::unique_ptr<XRenderCellPainter> XRenderCellPainter::create(const QWindow& window, const CellFont& font)
{
    std::unique_ptr<XRenderCellPainter> painter = create(window.winId(), font);
    if (painter)
        painter->setDevicePixelRatio(window.devicePixelRatio());
    return painter;
}

std::unique_ptr<XRenderCellPainter> XRenderCellPainter::create(WId window, const CellFont& font)
{
    if (qEnvironmentVariable("KORVAL_XRENDER") == QLatin1String("0"))
        return nullptr;
    xcb_connection_t* connection = x11Connection();
    if (!connection || !serverHasRender(connection))
        return nullptr;
    const auto windowId = static_cast<xcb_window_t>(window);
    const std::optional<RenderFormats> formats = renderFormatsFor(connection, windowId);
    if (!formats)
        return nullptr;

    auto x = std::make_unique<Connection>();
    x->connection = connection;
    x->window = windowId;
    x->alphaFormat = formats->alpha;
    x->maxRequestBytes = std::size_t(xcb_get_maximum_request_length(connection)) * 4;
    x->picture = xcb_generate_id(connection);
    const xcb_void_cookie_t created
        = xcb_render_create_picture_checked(connection, x->picture, windowId, formats->window, 0, nullptr);
    if (xcb_generic_error_t* error = xcb_request_check(connection, created)) {
        std::free(error);
        return nullptr;
    }
    x->gc = xcb_generate_id(connection);
    xcb_create_gc(connection, x->gc, windowId, 0, nullptr);
    return std::unique_ptr<XRenderCellPainter>(new XRenderCellPainter(std::move(x), font));
}

XRenderCellPainter::XRenderCellPainter(std::unique_ptr<Connection> connection, const CellFont& font)
    : x_(std::move(connection)), font_(font)
{
}

XRenderCellPainter::~XRenderCellPainter()
{
    // Once the application is gone its connection is closed, and the server
    // has freed everything with it.
    if (!qGuiApp || xcb_connection_has_error(x_->connection))
        return;
    dropGlyphSets();
    for (const auto& [colour, picture] : solidFills_)
        xcb_render_free_picture(x_->connection, picture);
    xcb_render_free_picture(x_->connection, x_->picture);
    xcb_free_gc(x_->connection, x_->gc);
    xcb_flush(x_->connection);
}

bool XRenderCellPainter::drawsOn(const QWindow& window) const
{
    return static_cast<xcb_window_t>(window.winId()) == x_->window;
}

bool XRenderCellPainter::setDotsPerInch(double dotsPerInch)
{
    if (dotsPerInch == dotsPerInch_)
        return false;
    dotsPerInch_ = dotsPerInch;
    dropGlyphSets();
    return true;
}

bool XRenderCellPainter::setDevicePixelRatio(double devicePixelRatio)
{
    if (devicePixelRatio == devicePixelRatio_)
        return false;
    devicePixelRatio_ = devicePixelRatio;
    dropGlyphSets();
    return true;
}

void XRenderCellPainter::dropGlyphSets()
{
    for (const GlyphSet& set : glyphSets_)
        xcb_render_free_glyph_set(x_->connection, set.id);
    glyphSets_.clear();
    lastGlyphSet_ = 0;
    coverage_.reset();
}

void XRenderCellPainter::paintChanges(const CellArray& cells, const std::vector<int>& changes,
                                      const QRegion& controlDamage, const std::vector<WindowlessControl*>& controls)
{
    fills_.clear();
    runs_.clear();
    for (const QRect& rect : controlDamage)
        addFill(BLACK, devicePixelRect(rect, devicePixelRatio_));
    for (int index : changes)
        addCell(cells[index]);
    sendBatches();

    // The controls stay in front: whatever was just drawn over one of them
    // is covered by them again.
    for (const WindowlessControl* control : controls) {
        if (!control->isVisible())
            continue;
        const QRect rect = controlPixelRect(control->rect());
        const bool touched = controlDamage.intersects(rect)
                             || std::any_of(changes.begin(), changes.end(),
                                            [&](int index) { return qtRect(cells[index].pixelRect()).intersects(rect); });
        if (touched) {
            putControls(controls);
            break;
        }
    }
    xcb_flush(x_->connection);
}

int XRenderCellPainter::paintAll(const CellArray& cells, QSize windowSize,
                                 const std::vector<WindowlessControl*>& controls)
{
    fills_.clear();
    runs_.clear();
    addFill(BLACK, devicePixelRect(QRect(QPoint(0, 0), windowSize), devicePixelRatio_));
    // A glyph must fit in one request; cells too large for that are left to
    // the backing store, or where there is none, to the black window.
    for (int index = 0; index < cells.count(); ++index) {
        if (!x_->fits(glyphBytes(devicePixelRect(qtRect(cells[index].pixelRect()), devicePixelRatio_).size()))) {
            sendBatches();
            xcb_flush(x_->connection);
            return -1;
        }
    }
    int painted = 0;
    for (int index = 0; index < cells.count(); ++index) {
        const Cell& cell = cells[index];
        if (cell.showsSomething()) {
            addCell(cell);
            ++painted;
        }
    }
    sendBatches();
    putControls(controls);
    xcb_flush(x_->connection);
    return painted;
}

// A cell that shows a character on black is drawn by its glyph alone: the
// glyph covers the whole cell, and drawn with the source operator it writes
// the fore colour where the character is and black everywhere else. Any other
// cell is blanked in its back colour (black where it is hidden) and a glyph,
// if any, goes over that.
void XRenderCellPainter::addCell(const Cell& cell)
{
    const QRect rect = devicePixelRect(qtRect(cell.pixelRect()), devicePixelRatio_);
    if (rect.isEmpty())
        return;
    const bool showsGlyph = cell.visible && cell.captionCode >= 0 && cell.captionCode <= 255;
    const bool onBlack = cell.backColour == BLACK;
    if (!showsGlyph || !onBlack)
        addFill(cell.visible ? cell.backColour : BLACK, rect);
    if (!showsGlyph)
        return;

    const std::size_t set = glyphSetFor(cell, rect.size());
    GlyphSet& glyphSet = glyphSets_[set];
    if (!glyphSet.uploaded[std::size_t(cell.captionCode)])
        upload(glyphSet, cell, cell.captionCode);

    runs_[RunKey{cell.foreColour, set, !onBlack}].items.push_back(
        {static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()), std::uint8_t(cell.captionCode)});
}

void XRenderCellPainter::addFill(QRgb colour, const QRect& rect)
{
    fills_[colour].items.push_back({static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y()),
                                    static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rect.height())});
}

void XRenderCellPainter::sendBatches()
{
    for (const Fill& fill : fills_)
        sendFill(fill);
    for (const Run& run : runs_)
        sendRun(run);
}

void XRenderCellPainter::sendFill(const Fill& fill)
{
    static_assert(sizeof(Rect) == sizeof(xcb_rectangle_t));
    const auto* rects = reinterpret_cast<const xcb_rectangle_t*>(fill.items.data());
    for (std::size_t first = 0; first < fill.items.size(); first += kRectsPerRequest) {
        const std::size_t count = std::min(kRectsPerRequest, fill.items.size() - first);
        xcb_render_fill_rectangles(x_->connection, XCB_RENDER_PICT_OP_SRC, x_->picture, renderColour(fill.key),
                                   static_cast<std::uint32_t>(count), rects + first);
    }
}

// Each request starts its pen at the window's origin; every element moves it
// from the previous glyph to the next.
void XRenderCellPainter::sendRun(const Run& run)
{
    const xcb_render_picture_t source = solidFill(run.key.colour);
    const xcb_render_glyphset_t glyphSet = glyphSets_[run.key.glyphSet].id;
    for (std::size_t first = 0; first < run.items.size(); first += kElementsPerRequest) {
        const std::size_t count = std::min(kElementsPerRequest, run.items.size() - first);
        request_.resize(count * kElementBytes);
        std::uint8_t* out = request_.data();
        int penX = 0;
        int penY = 0;
        for (std::size_t i = first; i < first + count; ++i, out += kElementBytes) {
            const Glyph& glyph = run.items[i];
            GlyphElement element{};
            element.length = 1;
            element.dx = static_cast<std::int16_t>(glyph.x - penX);
            element.dy = static_cast<std::int16_t>(glyph.y - penY);
            std::memcpy(out, &element, sizeof element);
            const std::uint8_t code[4] = {glyph.code, 0, 0, 0};
            std::memcpy(out + sizeof element, code, sizeof code);
            penX = glyph.x;
            penY = glyph.y;
        }
        const std::uint8_t op = run.key.overBack ? XCB_RENDER_PICT_OP_OVER : XCB_RENDER_PICT_OP_SRC;
        xcb_render_composite_glyphs_8(x_->connection, op, source, x_->picture, XCB_NONE, glyphSet, 0, 0,
                                      static_cast<std::uint32_t>(request_.size()), request_.data());
    }
}

std::size_t XRenderCellPainter::glyphSetFor(const Cell& cell, QSize cellSize)
{
    const auto matches = [&](const GlyphSet& set) { return set.fontSize == cell.fontSize && set.cellSize == cellSize; };
    if (lastGlyphSet_ < glyphSets_.size() && matches(glyphSets_[lastGlyphSet_]))
        return lastGlyphSet_;
    for (std::size_t i = 0; i < glyphSets_.size(); ++i) {
        if (matches(glyphSets_[i]))
            return lastGlyphSet_ = i;
    }
    GlyphSet set{cell.fontSize, cellSize, xcb_generate_id(x_->connection), {}};
    xcb_render_create_glyph_set(x_->connection, set.id, x_->alphaFormat);
    glyphSets_.push_back(set);
    return lastGlyphSet_ = glyphSets_.size() - 1;
}

// The glyph's coverage is the character drawn white on black exactly as a
// cell shows it; one channel of that picture is the alpha of the glyph. At a
// device pixel ratio the glyph is made for the cell's device pixels by the
// glyph cache's one rule: as the backing store's painter draws it there.
void XRenderCellPainter::upload(GlyphSet& set, const Cell& cell, int code)
{
    set.uploaded.set(std::size_t(code));
    if (!coverage_)
        coverage_ = std::make_unique<GlyphCache>(font_, dotsPerInch_, devicePixelRatio_);
    Cell white = cell;
    white.foreColour = 0xFFFFFFFF;
    white.backColour = BLACK;
    white.captionCode = static_cast<std::int16_t>(code);
    const QImage& image = coverage_->glyphOfDeviceSize(white, set.cellSize);

    const int width = image.width();
    const int height = image.height();
    if (!x_->fits(glyphBytes(image.size())))
        return; // too large to send: the cell stays blank
    const std::size_t stride = glyphStride(width);
    upload_.assign(stride * std::size_t(height), 0);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x)
            upload_[std::size_t(y) * stride + std::size_t(x)] = static_cast<std::uint8_t>(qGreen(row[x]));
    }
    const std::uint32_t id = static_cast<std::uint32_t>(code);
    xcb_render_glyphinfo_t info{};
    info.width = static_cast<std::uint16_t>(width);
    info.height = static_cast<std::uint16_t>(height);
    xcb_render_add_glyphs(x_->connection, set.id, 1, &id, &info, static_cast<std::uint32_t>(upload_.size()),
                          upload_.data());
}

std::uint32_t XRenderCellPainter::solidFill(QRgb colour)
{
    for (const auto& [known, picture] : solidFills_) {
        if (known == colour)
            return picture;
    }
    const xcb_render_picture_t picture = xcb_generate_id(x_->connection);
    xcb_render_create_solid_fill(x_->connection, picture, renderColour(colour));
    solidFills_.emplace_back(colour, picture);
    return picture;
}

// Each visible control is drawn, with the controls in front of it, into an
// image of its own box and sent whole: the controls are opaque, so the box
// holds nothing else. Happens when the banner shows, hides or is exposed,
// not on the saver's ticks. At a device pixel ratio the image covers the
// box's device pixels and its painter is scaled by the ratio, as a backing
// store's painter is: the controls look as they do there.
void XRenderCellPainter::putControls(const std::vector<WindowlessControl*>& controls)
{
    for (const WindowlessControl* control : controls) {
        if (!control->isVisible())
            continue;
        const QRect box = controlPixelRect(control->rect());
        const QRect rect = devicePixelRect(box, devicePixelRatio_);
        if (rect.isEmpty())
            continue;
        if (controlImage_.size() != rect.size())
            controlImage_ = QImage(rect.size(), QImage::Format_RGB32);
        controlImage_.setDevicePixelRatio(devicePixelRatio_);
        controlImage_.fill(QColor::fromRgb(BLACK));
        {
            QPainter painter(&controlImage_);
            // Pixels of the window, moved so that the box's first device
            // pixel is the image's first.
            painter.translate(-QPointF(rect.topLeft()) / devicePixelRatio_);
            paintControls(painter, controls, QRegion(box));
        }
        const std::size_t rowBytes = std::size_t(controlImage_.bytesPerLine());
        const int rowsPerRequest = std::max(1, int((x_->maxRequestBytes - 64) / rowBytes));
        for (int y = 0; y < rect.height(); y += rowsPerRequest) {
            const int rows = std::min(rowsPerRequest, rect.height() - y);
            xcb_put_image(x_->connection, XCB_IMAGE_FORMAT_Z_PIXMAP, x_->window, x_->gc,
                          static_cast<std::uint16_t>(rect.width()), static_cast<std::uint16_t>(rows),
                          static_cast<std::int16_t>(rect.x()), static_cast<std::int16_t>(rect.y() + y), 0, 24,
                          static_cast<std::uint32_t>(rowBytes * std::size_t(rows)), controlImage_.constScanLine(y));
        }
    }
}


} // namespace korval
