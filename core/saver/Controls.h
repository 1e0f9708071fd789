#pragma once

#include "Palette.h"
#include "Typeface.h"

#include "core/runtime/Geometry.h"

#include <functional>
#include <string>

namespace korval {

// A control without a window of its own, painted by its form in front of
// the cells: the rectangle shape and the text label. Position and size are
// single-precision pixels. Every change tells the form which area to repaint.
class WindowlessControl {
public:
    virtual ~WindowlessControl() = default;

    float left() const { return left_; }
    float top() const { return top_; }
    float width() const { return width_; }
    float height() const { return height_; }
    bool isVisible() const { return visible_; }
    RectF rect() const { return {left_, top_, width_, height_}; }

    void setLeft(float left) { change([&] { left_ = left; }); }
    void setTop(float top) { change([&] { top_ = top; }); }
    void setSize(float width, float height) { change([&] { width_ = width; height_ = height; }); }
    void setVisible(bool visible) { change([&] { visible_ = visible; }); }

    // Whether a mouse event at this point stops here instead of reaching the
    // cells below (a label does, a shape lets it through).
    virtual bool catchesMouse() const = 0;

    void setRepaintListener(std::function<void(const RectF&)> listener) { repaint_ = std::move(listener); }

protected:
    template <class Mutation>
    void change(Mutation&& mutation)
    {
        const RectF before = visible_ ? rect() : RectF();
        mutation();
        if (repaint_) {
            if (!before.isEmpty())
                repaint_(before);
            if (visible_)
                repaint_(rect());
        }
    }

private:
    float left_ = 0;
    float top_ = 0;
    float width_ = 0;
    float height_ = 0;
    bool visible_ = false;
    std::function<void(const RectF&)> repaint_;
};

// A rectangle with a one-pixel border, filled with its back colour.
class ShapeControl final : public WindowlessControl {
public:
    Colour borderColour = HEAD_COLOUR;
    Colour backColour = BLACK;
    bool catchesMouse() const override { return false; }
};

// A one-line caption on an opaque box of its back colour.
class LabelControl final : public WindowlessControl {
public:
    std::string caption; // UTF-8
    Colour foreColour = HEAD_COLOUR;
    Colour backColour = BLACK;
    std::string fontFamily{kFaceName};
    float fontSize = 8.25f;
    int fontWeight = 400;
    bool catchesMouse() const override { return true; }
};

} // namespace korval
