#pragma once
#include <QColor>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <vector>

#include "InkedAreas.h"
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
    // Draws the texts still gathered into one run; call it once the
    // picture has been played.
    void finish();

private:
    void use(const PagePen& pen, const PageBrush& brush);
    // Where something has been drawn on the page so far, roughly.
    void ink(const QRect& area);
    bool overInk(const QRect& area) const;
    bool drawRun(const QString& chars, const std::vector<std::int32_t>& advances, QPointF at, const DrawingFont& font,
                 bool decorated, const QColor& color);

    QPainter& painter_;
    InkedAreas inked_;
    QRawFont runFont_;
    QColor runColor_;
    QList<quint32> runGlyphs_;
    QList<QPointF> runPositions_;
};
