#include "QtPageCanvas.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPolygon>
#include <QRawFont>
#include <QRectF>
#include <algorithm>
#include <cstdint>
#include <map>
#include <string>
#include <tuple>

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
    inked_.push_back(area);
    lowestInk_.push_back(std::max(lowestInk_.empty() ? area.bottom() : lowestInk_.back(), area.bottom()));
}

// A page is drawn top down: what ends above the area is passed over at once.
bool QtPageCanvas::overInk(const QRect& area) const
{
    const auto from = std::lower_bound(lowestInk_.begin(), lowestInk_.end(), area.top()) - lowestInk_.begin();
    return std::any_of(inked_.begin() + from, inked_.end(), [&](const QRect& r) { return r.intersects(area); });
}

// The picture's rectangles exclude their right and bottom edges. A white
// fill where nothing has been drawn yet would paint the white page white:
// it is left out (a report's bands and texts each fill white first, and
// every such fill would cost the PDF its drawing).
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

// A picture's font as Qt draws it: looked up once per face and size.
struct DrawingFont {
    QFont font;
    QRawFont raw;
    double ascent = 0;
    double descent = 0;
};

namespace {

const DrawingFont& drawingFont(const PageFont& font)
{
    // Made on the first page and kept for the program's life: the fonts go
    // only with the font database, after everything that paints.
    static auto* fonts = new std::map<std::tuple<std::string, int, int, bool, bool, bool>, DrawingFont>();
    const auto key = std::make_tuple(font.family, std::clamp(font.height, 1, 10000), font.weight, font.italic,
                                     font.underline, font.strikeOut);
    auto found = fonts->find(key);
    if (found != fonts->end())
        return found->second;
    DrawingFont made;
    made.font = QFont(QString::fromStdString(font.family));
    made.font.setPixelSize(std::get<1>(key));
    made.font.setWeight(font.weight >= 600 ? QFont::Bold : QFont::Normal);
    made.font.setItalic(font.italic);
    made.font.setUnderline(font.underline);
    made.font.setStrikeOut(font.strikeOut);
    made.font.setHintingPreference(QFont::PreferNoHinting);
    made.raw = QRawFont::fromFont(made.font);
    const QFontMetricsF metrics(made.font);
    made.ascent = metrics.ascent();
    made.descent = metrics.descent();
    if (fonts->size() > 256)
        fonts->clear();
    return fonts->emplace(key, std::move(made)).first->second;
}

}  // namespace

// Every character at its own advance, as the picture places it, in one run
// of glyphs. Blanks are left out unless asked for: they draw nothing, and
// the blank's glyph may be mapped back to a tab in a PDF's text, where a
// reader that finds word breaks only from gaps joins some words. False when a
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
        if (drawBlanks_ || chars[i] != QLatin1Char(' ')) {
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
    const DrawingFont& drawing = drawingFont(font);
    const QString chars = QString::fromUtf16(text.chars.data(), static_cast<qsizetype>(text.chars.size()));
    double width = 0;
    const bool spaced = text.advances.size() == text.chars.size();
    if (spaced)
        for (std::int32_t a : text.advances)
            width += a;
    else
        width = QFontMetricsF(drawing.font).horizontalAdvance(chars);
    double x = text.origin.x;
    const unsigned h = text.align & PageTextAlign::HorizontalMask;
    if (h == PageTextAlign::Center)
        x -= width / 2;
    else if (h == PageTextAlign::Right)
        x -= width;
    double y = text.origin.y;
    const unsigned v = text.align & PageTextAlign::VerticalMask;
    if (v == PageTextAlign::Top)
        y += drawing.ascent;
    else if (v == PageTextAlign::Bottom)
        y -= drawing.descent;
    // with room for glyphs that reach past their advance
    const double spill = drawing.ascent / 2 + 1;
    ink(QRectF(x - spill, y - drawing.ascent - spill, width + 2 * spill, drawing.ascent + drawing.descent + 2 * spill)
            .toAlignedRect());
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
