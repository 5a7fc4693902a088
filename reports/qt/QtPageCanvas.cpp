#include "QtPageCanvas.h"

#include <QFontMetricsF>
#include <QPolygon>
#include <algorithm>
#include <cstdint>

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

// The picture's rectangles exclude their right and bottom edges.
void QtPageCanvas::rectangle(const PageRect& r, const PagePen& pen, const PageBrush& brush)
{
    if (!pen.visible) {
        if (brush.visible)
            painter_.fillRect(rectOf(r, 0), qcolor(brush.color));
        return;
    }
    use(pen, brush);
    painter_.drawRect(rectOf(r, 1));
}

void QtPageCanvas::ellipse(const PageRect& r, const PagePen& pen, const PageBrush& brush)
{
    use(pen, brush);
    painter_.drawEllipse(rectOf(r, 1));
}

void QtPageCanvas::polyline(const std::vector<PagePoint>& points, const PagePen& pen)
{
    if (!pen.visible)
        return;
    use(pen, PageBrush{PageColor::white(), false});
    painter_.drawPolyline(polygonOf(points));
}

void QtPageCanvas::polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush)
{
    use(pen, brush);
    painter_.drawPolygon(polygonOf(points));
}

void QtPageCanvas::text(const PageText& text, const PageFont& font)
{
    QFont f(QString::fromStdString(font.family));
    f.setPixelSize(std::clamp(font.height, 1, 10000));
    f.setWeight(font.weight >= 600 ? QFont::Bold : QFont::Normal);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeOut);
    f.setHintingPreference(QFont::PreferNoHinting);
    painter_.setFont(f);
    painter_.setPen(qcolor(text.color));
    const QFontMetricsF metrics(f);
    const QString chars = QString::fromUtf16(text.chars.data(), static_cast<qsizetype>(text.chars.size()));
    double width = 0;
    const bool spaced = text.advances.size() == text.chars.size();
    if (spaced)
        for (std::int32_t a : text.advances)
            width += a;
    else
        width = metrics.horizontalAdvance(chars);
    double x = text.origin.x;
    const unsigned h = text.align & PageTextAlign::HorizontalMask;
    if (h == PageTextAlign::Center)
        x -= width / 2;
    else if (h == PageTextAlign::Right)
        x -= width;
    double y = text.origin.y;
    const unsigned v = text.align & PageTextAlign::VerticalMask;
    if (v == PageTextAlign::Top)
        y += metrics.ascent();
    else if (v == PageTextAlign::Bottom)
        y -= metrics.descent();
    if (!spaced) {
        painter_.drawText(QPointF(x, y), chars);
        return;
    }
    for (qsizetype i = 0; i < chars.size(); ++i) {
        painter_.drawText(QPointF(x, y), QString(chars[i]));
        x += text.advances[static_cast<size_t>(i)];
    }
}
