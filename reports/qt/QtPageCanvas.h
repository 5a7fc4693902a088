#pragma once
#include <QPainter>

#include "PageCanvas.h"

struct DrawingFont;

// Draws page pictures with a QPainter, in the picture's pixels; the caller
// sets the painter's transformation to place and scale the page.
class QtPageCanvas : public PageCanvas {
public:
    explicit QtPageCanvas(QPainter& painter) : painter_(painter) {}

    void rectangle(const PageRect& rect, const PagePen& pen, const PageBrush& brush) override;
    void ellipse(const PageRect& rect, const PagePen& pen, const PageBrush& brush) override;
    void polyline(const std::vector<PagePoint>& points, const PagePen& pen) override;
    void polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush) override;
    void text(const PageText& text, const PageFont& font) override;

private:
    void use(const PagePen& pen, const PageBrush& brush);
    bool drawRun(const QString& chars, const std::vector<std::int32_t>& advances, QPointF at, const DrawingFont& font,
                 bool decorated);

    QPainter& painter_;
};
