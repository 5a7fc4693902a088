#include "QtPageCanvas.h"

#include "DrawingFont.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPolygon>
#include <QRawFont>
#include <QRectF>
#include <algorithm>
#include <cstdint>
#include <string>

namespace {

QColor qcolor(const PageColor& c)
{
    return QColor(c.r, c.g, c.b);
}

// Pictures from elsewhere may carry any coordinates. A corner and a span
// are each kept within half the int range, so that a rectangle's far edge
// (corner + span) is still an int.
constexpr std::int64_t reach = INT32_MAX / 2;

int coordinate(std::int32_t v)
{
    return static_cast<int>(std::clamp<std::int64_t>(v, -reach, reach));
}

int span(std::int32_t from, std::int32_t to, int less = 0)
{
    const std::int64_t d = std::int64_t(to) - from - less;
    return static_cast<int>(std::clamp<std::int64_t>(d, -reach, reach));
}

QRect rectOf(const PageRect& r, int less)
{
    return QRect(coordinate(r.left), coordinate(r.top), span(r.left, r.right, less), span(r.top, r.bottom, less));
}

QPolygon polygonOf(const std::vector<PagePoint>& points)
{
    QPolygon out;
    out.reserve(static_cast<int>(points.size()));
    for (const PagePoint& p : points)
        out << QPoint(p.x, p.y);
    return out;
}

}  // namespace

void QtPageCanvas::use(const PagePen& pen, const PageBrush& brush)
{
    if (pen.visible) {
        QPen p(qcolor(pen.color));
        p.setWidth(std::max(pen.width, 1));
        p.setJoinStyle(Qt::MiterJoin);
        painter_.setPen(p);
    } else {
        painter_.setPen(Qt::NoPen);
    }
    painter_.setBrush(brush.visible ? QBrush(qcolor(brush.color)) : QBrush(Qt::NoBrush));
}

void QtPageCanvas::ink(const QRect& area)
{
    inked_.add(
        {area.left(), area.top(), std::int64_t(area.left()) + area.width(), std::int64_t(area.top()) + area.height()});
}

bool QtPageCanvas::overInk(const QRect& area) const
{
    return inked_.touches(
        {area.left(), area.top(), std::int64_t(area.left()) + area.width(), std::int64_t(area.top()) + area.height()});
}

// The picture's rectangles exclude their right and bottom edges. A white
// fill where nothing has been drawn yet is left out (InkedAreas).
void QtPageCanvas::rectangle(const PageRect& r, const PagePen& pen, const PageBrush& brush)
{
    if (!pen.visible) {
        const QRect area = rectOf(r, 0);
        if (!brush.visible || (brush.color == PageColor::white() && !overInk(area)))
            return;
        finish();
        painter_.fillRect(area, qcolor(brush.color));
        if (!(brush.color == PageColor::white()))
            ink(area);
        return;
    }
    finish();
    use(pen, brush);
    painter_.drawRect(rectOf(r, 1));
    ink(rectOf(r, 0).adjusted(-pen.width, -pen.width, pen.width, pen.width));
}

void QtPageCanvas::ellipse(const PageRect& r, const PagePen& pen, const PageBrush& brush)
{
    finish();
    use(pen, brush);
    painter_.drawEllipse(rectOf(r, 1));
    ink(rectOf(r, 0).adjusted(-pen.width, -pen.width, pen.width, pen.width));
}

void QtPageCanvas::polyline(const std::vector<PagePoint>& points, const PagePen& pen)
{
    if (!pen.visible)
        return;
    finish();
    use(pen, PageBrush{PageColor::white(), false});
    const QPolygon polygon = polygonOf(points);
    painter_.drawPolyline(polygon);
    ink(polygon.boundingRect().adjusted(-pen.width, -pen.width, pen.width, pen.width));
}

void QtPageCanvas::polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush)
{
    finish();
    use(pen, brush);
    const QPolygon polygon = polygonOf(points);
    painter_.drawPolygon(polygon);
    ink(polygon.boundingRect().adjusted(-pen.width, -pen.width, pen.width, pen.width));
}

// Every character at its own advance, as the picture places it, in one run
// of glyphs. Blanks are left out: they draw nothing, and in a printed PDF
// the blank's glyph may read back as a tab, where a reader that finds word
// breaks only from gaps joins some words. False when a
// character has no glyph in the font; the caller then draws them one by
// one, letting Qt find a font that has them.
bool QtPageCanvas::drawRun(const QString& chars, const std::vector<std::int32_t>& advances, QPointF at,
                           const DrawingFont& font, bool decorated, const QColor& color)
{
    if (!font.raw.isValid() || decorated)
        return false;
    const QList<quint32> indexes = font.raw.glyphIndexesForString(chars);
    if (indexes.size() != chars.size())
        return false;
    for (qsizetype i = 0; i < chars.size(); ++i)
        if (chars[i].isSurrogate() || (indexes[i] == 0 && chars[i] != QLatin1Char(' ')))
            return false;
    // Texts in one face and colour, one after another, go out as one run:
    // each run costs a PDF its own text object.
    if (runGlyphs_.isEmpty() || !(runFont_ == font.raw) || runColor_ != color) {
        finish();
        runFont_ = font.raw;
        runColor_ = color;
    }
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (chars[i] != QLatin1Char(' ')) {
            runGlyphs_ << indexes[i];
            runPositions_ << at;
        }
        at.rx() += advances[static_cast<size_t>(i)];
    }
    return true;
}

void QtPageCanvas::finish()
{
    if (runGlyphs_.isEmpty())
        return;
    QGlyphRun run;
    run.setRawFont(runFont_);
    run.setGlyphIndexes(runGlyphs_);
    run.setPositions(runPositions_);
    painter_.setPen(runColor_);
    painter_.drawGlyphRun(QPointF(0, 0), run);
    runGlyphs_.clear();
    runPositions_.clear();
}

void QtPageCanvas::text(const PageText& text, const PageFont& font)
{
    const DrawingFont& drawing = DrawingFont::of(font);
    const QString chars = QString::fromUtf16(text.chars.data(), static_cast<qsizetype>(text.chars.size()));
    double width = 0;
    const bool spaced = text.advances.size() == text.chars.size();
    if (spaced)
        for (std::int32_t a : text.advances)
            width += a;
    else
        width = QFontMetricsF(drawing.font).horizontalAdvance(chars);
    const QPointF start = drawing.start(text, width);
    double x = start.x();
    const double y = start.y();
    inked_.add(drawing.inkOf(start, width));
    if (spaced &&
        drawRun(chars, text.advances, QPointF(x, y), drawing, font.underline || font.strikeOut, qcolor(text.color)))
        return;
    finish();
    painter_.setPen(qcolor(text.color));
    painter_.setFont(drawing.font);
    if (!spaced) {
        painter_.drawText(QPointF(x, y), chars);
        return;
    }
    for (qsizetype i = 0; i < chars.size(); ++i) {
        if (chars[i] != QLatin1Char(' '))
            painter_.drawText(QPointF(x, y), QString(chars[i]));
        x += text.advances[static_cast<size_t>(i)];
    }
}
