#include "XRenderCellPainter.h"

// Built without X11 or without the X Render headers: no window is painted
// this way, and every window paints into its backing store.
namespace korval {

struct XRenderCellPainter::Connection {};

std::unique_ptr<XRenderCellPainter> XRenderCellPainter::create(const QWindow&, const CellFont&)
{
    return nullptr;
}

std::unique_ptr<XRenderCellPainter> XRenderCellPainter::create(WId, const CellFont&)
{
    return nullptr;
}

XRenderCellPainter::XRenderCellPainter(std::unique_ptr<Connection> connection, const CellFont& font)
    : x_(std::move(connection)), font_(font)
{
}
XRenderCellPainter::~XRenderCellPainter() = default;
bool XRenderCellPainter::setDotsPerInch(double) { return false; }
bool XRenderCellPainter::setDevicePixelRatio(double) { return false; }
bool XRenderCellPainter::drawsOn(const QWindow&) const { return false; }
void XRenderCellPainter::paintChanges(const CellArray&, const std::vector<int>&, const QRegion&,
                                      const std::vector<WindowlessControl*>&)
{
}
int XRenderCellPainter::paintAll(const CellArray&, QSize, const std::vector<WindowlessControl*>&) { return -1; }

} // namespace korval
