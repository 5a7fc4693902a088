#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a page is drawn with, in device pixels of the page picture.

struct PageColor {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const PageColor&) const = default;
    static PageColor white() { return {255, 255, 255}; }
    static PageColor black() { return {0, 0, 0}; }
};

struct PagePoint {
    std::int32_t x = 0, y = 0;
    bool operator==(const PagePoint&) const = default;
};

// Edges inclusive on the left/top, exclusive on the right/bottom.
struct PageRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const PageRect&) const = default;
};

struct PagePen {
    PageColor color;
    std::int32_t width = 1;
    bool visible = true;
    // an invisible pen draws nothing, whatever its colour and width
    bool operator==(const PagePen& o) const
    {
        return visible == o.visible && (!visible || (color == o.color && width == o.width));
    }
};

struct PageBrush {
    PageColor color = PageColor::white();
    bool visible = true;
    bool operator==(const PageBrush& o) const { return visible == o.visible && (!visible || color == o.color); }
};

struct PageFont {
    std::string family = "Arial";
    std::int32_t height = 13;  // em height in pixels
    std::int32_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool operator==(const PageFont&) const = default;
};

// Text alignment flags as the picture format stores them.
namespace PageTextAlign {
constexpr unsigned Left = 0, Right = 2, Center = 6, HorizontalMask = 6;
constexpr unsigned Top = 0, Bottom = 8, Baseline = 24, VerticalMask = 24;
}  // namespace PageTextAlign

struct PageText {
    PagePoint origin;
    std::u16string chars;
    std::vector<std::int32_t> advances;  // one per character, or none
    unsigned align = PageTextAlign::Left | PageTextAlign::Top;
    PageColor color;
    bool operator==(const PageText&) const = default;
};

// The one drawing surface of the engine: the picture writer, the picture
// player's targets and the painter all speak it. Text is always drawn with a
// transparent background.
class PageCanvas {
public:
    virtual ~PageCanvas() = default;
    virtual void rectangle(const PageRect& rect, const PagePen& pen, const PageBrush& brush) = 0;
    virtual void ellipse(const PageRect& rect, const PagePen& pen, const PageBrush& brush) = 0;
    virtual void polyline(const std::vector<PagePoint>& points, const PagePen& pen) = 0;
    virtual void polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush) = 0;
    virtual void text(const PageText& text, const PageFont& font) = 0;
};
