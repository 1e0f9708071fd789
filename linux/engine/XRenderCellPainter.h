#pragma once

#include "core/saver/CellArray.h"
#include "GlyphCache.h"
#include "core/saver/Controls.h"

#include <QImage>
#include <QWindow>
#include <QRect>
#include <QRegion>

#include <bitset>
#include <cstdint>
#include <memory>
#include <vector>

namespace korval {

// Paints cells on an X11 window with the X Render extension instead of
// sending pixels. Every glyph's coverage is uploaded once to the X server;
// after that a repaint is one request per fore colour that draws the changed
// cells' glyphs, each glyph covering its whole cell, and one that blanks the
// cells left empty: a few kilobytes however large the screen. The windowless
// controls, which change only when the banner shows or hides, are still drawn
// by QPainter and sent as an image.
//
// Cells, glyphs, controls and damage are given in the pixels the grid is
// laid out in and drawn in device pixels, at any device pixel ratio: each
// rectangle at its devicePixelRect, each glyph made for that many device
// pixels (GlyphCache's rule).
//
// Only available where the program runs on X11 (xcb) and the server has
// Render; create() says no otherwise, and the window keeps painting into its
// backing store.
class XRenderCellPainter {
public:
    // Null when this window cannot be painted this way (another platform,
    // no Render on the server, an unusual visual, or compiled without it).
    // The painter starts at the window's device pixel ratio.
    static std::unique_ptr<XRenderCellPainter> create(const QWindow& window, const CellFont& font);
    // The same for a native X window, which need not be the program's own.
    static std::unique_ptr<XRenderCellPainter> create(WId window, const CellFont& font);
    ~XRenderCellPainter();

    XRenderCellPainter(const XRenderCellPainter&) = delete;
    XRenderCellPainter& operator=(const XRenderCellPainter&) = delete;

    // The screen's resolution; the uploaded glyphs are dropped when it
    // changes. True when it changed: what is on the screen needs repainting.
    bool setDotsPerInch(double dotsPerInch);
    // Device pixels per pixel of the cells, the controls, the window's size
    // and the damage: each is drawn that many times larger, its glyphs made
    // for the larger cell. A window of the program's own follows its
    // devicePixelRatio(); a host's window takes its screen's ratio. True
    // when it changed, as above.
    bool setDevicePixelRatio(double devicePixelRatio);
    double devicePixelRatio() const { return devicePixelRatio_; }

    // Whether the window still is the native window this painter draws on;
    // a recreated window needs a new painter.
    bool drawsOn(const QWindow& window) const;

    // Blanks the damaged areas and the changed cells, draws their glyphs and
    // puts the visible controls they touch back in front.
    void paintChanges(const CellArray& cells, const std::vector<int>& changes, const QRegion& controlDamage,
                      const std::vector<WindowlessControl*>& controls);
    // Paints the whole window: black, every visible cell that shows
    // something, then the visible controls. Returns the cells painted, or
    // -1 when the cells are too large to send as glyphs: then the window is
    // only painted black.
    int paintAll(const CellArray& cells, QSize windowSize, const std::vector<WindowlessControl*>& controls);

private:
    struct Connection;
    struct GlyphSet {
        float fontSize;
        QSize cellSize;
        std::uint32_t id;
        std::bitset<256> uploaded;
    };
    struct Glyph {
        std::int16_t x;
        std::int16_t y;
        std::uint8_t code;
    };
    // Laid out as the protocol's rectangle, so a list is sent as it stands.
    struct Rect {
        std::int16_t x;
        std::int16_t y;
        std::uint16_t width;
        std::uint16_t height;
    };
    // Items sent together: glyphs or rectangles that share a key.
    template <class Key, class Item>
    struct Batch {
        Key key{};
        std::vector<Item> items;
    };
    // The batches of one repaint. Their storage is kept from repaint to
    // repaint, so a tick allocates nothing.
    template <class Key, class Item>
    class BatchList {
    public:
        Batch<Key, Item>& operator[](const Key& key)
        {
            for (std::size_t i = 0; i < used_; ++i) {
                if (batches_[i].key == key)
                    return batches_[i];
            }
            if (used_ == batches_.size())
                batches_.emplace_back();
            Batch<Key, Item>& batch = batches_[used_++];
            batch.key = key;
            return batch;
        }
        void clear()
        {
            for (std::size_t i = 0; i < used_; ++i)
                batches_[i].items.clear();
            used_ = 0;
        }
        auto begin() { return batches_.begin(); }
        auto end() { return batches_.begin() + static_cast<std::ptrdiff_t>(used_); }

    private:
        std::vector<Batch<Key, Item>> batches_;
        std::size_t used_ = 0;
    };
    // The glyphs of one fore colour in one glyph set, in paint order, either
    // replacing their cells (on black) or over their cells' back colour.
    struct RunKey {
        QRgb colour = 0;
        std::size_t glyphSet = 0;
        bool overBack = false;
        bool operator==(const RunKey&) const = default;
    };
    using Run = Batch<RunKey, Glyph>;
    using Fill = Batch<QRgb, Rect>;

    explicit XRenderCellPainter(std::unique_ptr<Connection> connection, const CellFont& font);

    void addCell(const Cell& cell);
    void addFill(QRgb colour, const QRect& rect);
    void sendBatches();
    void sendFill(const Fill& fill);
    void sendRun(const Run& run);
    std::size_t glyphSetFor(const Cell& cell, QSize cellSize);
    void upload(GlyphSet& set, const Cell& cell, int code);
    std::uint32_t solidFill(QRgb colour);
    void putControls(const std::vector<WindowlessControl*>& controls);
    void dropGlyphSets();

    std::unique_ptr<Connection> x_;
    CellFont font_;
    double dotsPerInch_ = 96;
    double devicePixelRatio_ = 1;
    std::unique_ptr<GlyphCache> coverage_; // white glyphs on black

    std::vector<GlyphSet> glyphSets_;
    std::size_t lastGlyphSet_ = 0;
    std::vector<std::pair<QRgb, std::uint32_t>> solidFills_;

    // Reused from repaint to repaint: a tick allocates nothing.
    BatchList<QRgb, Rect> fills_;
    BatchList<RunKey, Glyph> runs_;
    std::vector<std::uint8_t> request_;
    std::vector<std::uint8_t> upload_;
    QImage controlImage_;
};

} // namespace korval
