#include "PdfPageCanvas.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <tuple>

#include "DrawingFont.h"
#include "PdfFont.h"
#include "PdfFonts.h"
#include "PdfObjects.h"

namespace {

// Four Bézier curves come within 0.03% of a circle with this handle length.
constexpr double Kappa = 0.5522847498;

// A code as a byte of a string; a bare carriage return would be read as a
// line end, the brackets and backslash as the string's own marks.
void code(std::string& out, int c)
{
    const char byte = static_cast<char>(c);
    if (byte == '(' || byte == ')' || byte == '\\')
        out += '\\';
    if (byte == '\r')
        out += "\\r";
    else
        out += byte;
}

std::string color(const PageColor& c)
{
    return pdfNumber(c.r / 255.0) + " " + pdfNumber(c.g / 255.0) + " " + pdfNumber(c.b / 255.0);
}

}  // namespace

void PdfPageCanvas::begin(const EmfPictureInfo& picture, double width, double height)
{
    out_.clear();
    inked_ = InkedAreas();
    inText_ = false;
    lineSet_ = false;
    font_ = nullptr;
    fill_ = stroke_ = PageColor::black();
    width_ = 1;
    // Picture pixels to points, the y axis turned downwards as the picture's
    // is, and nothing drawn outside the picture's bounds.
    const double pixelsWide = std::max<double>(1, double(picture.widthPixels()));
    const double pixelsHigh = std::max<double>(1, double(picture.heightPixels()));
    const double sx = width / pixelsWide, sy = height / pixelsHigh;
    out_ += "q " + pdfNumber(sx) + " 0 0 " + pdfNumber(-sy) + " " + pdfNumber(-sx * picture.bounds.left) + " " +
            pdfNumber(height + sy * picture.bounds.top) + " cm\n";
    out_ += std::to_string(picture.bounds.left) + " " + std::to_string(picture.bounds.top) + " " +
            pdfNumber(pixelsWide) + " " + pdfNumber(pixelsHigh) + " re W n 0 j 2 J\n";
}

const std::string& PdfPageCanvas::end()
{
    graphics();
    out_ += "Q\n";
    return out_;
}

void PdfPageCanvas::graphics()
{
    if (inText_)
        out_ += "ET\n";
    inText_ = false;
    lineSet_ = false;
}

void PdfPageCanvas::fill(const PageColor& c)
{
    if (c == fill_)
        return;
    fill_ = c;
    out_ += color(c) + " rg\n";
}

void PdfPageCanvas::stroke(const PagePen& pen)
{
    if (!(pen.color == stroke_)) {
        stroke_ = pen.color;
        out_ += color(pen.color) + " RG\n";
    }
    const std::int32_t width = std::max(pen.width, 1);
    if (width != width_) {
        width_ = width;
        out_ += std::to_string(width) + " w\n";
    }
}

void PdfPageCanvas::paint(const PagePen& pen, const PageBrush& brush, bool evenOdd)
{
    if (brush.visible)
        fill(brush.color);
    if (pen.visible)
        stroke(pen);
    if (pen.visible && brush.visible)
        out_ += evenOdd ? "B*\n" : "B\n";
    else if (pen.visible)
        out_ += "S\n";
    else if (brush.visible)
        out_ += evenOdd ? "f*\n" : "f\n";
    else
        out_ += "n\n";
}

void PdfPageCanvas::ink(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::int32_t pen)
{
    inked_.add({left - pen, top - pen, right + pen, bottom + pen});
}

// The picture's rectangles exclude their right and bottom edges; an outline
// runs along the last pixels inside. A white fill where nothing has been
// drawn is left out (InkedAreas).
void PdfPageCanvas::rectangle(const PageRect& r, const PagePen& pen, const PageBrush& brush)
{
    const std::int64_t w = std::int64_t(r.right) - r.left, h = std::int64_t(r.bottom) - r.top;
    if (!pen.visible) {
        const InkedAreas::Area area{r.left, r.top, r.right, r.bottom};
        if (!brush.visible || w <= 0 || h <= 0 || (brush.color == PageColor::white() && !inked_.touches(area)))
            return;
        graphics();
        fill(brush.color);
        out_ += std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(w) + " " +
                std::to_string(h) + " re f\n";
        if (!(brush.color == PageColor::white()))
            inked_.add(area);
        return;
    }
    graphics();
    out_ += std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(w - 1) + " " +
            std::to_string(h - 1) + " re\n";
    paint(pen, brush);
    ink(r.left, r.top, r.right, r.bottom, pen.width);
}

void PdfPageCanvas::ellipse(const PageRect& r, const PagePen& pen, const PageBrush& brush)
{
    graphics();
    const double rx = (double(r.right) - r.left - 1) / 2, ry = (double(r.bottom) - r.top - 1) / 2;
    const double cx = r.left + rx, cy = r.top + ry, kx = Kappa * rx, ky = Kappa * ry;
    const auto at = [](double x, double y) { return pdfNumber(x) + " " + pdfNumber(y) + " "; };
    out_ += at(cx + rx, cy) + "m\n";
    out_ += at(cx + rx, cy + ky) + at(cx + kx, cy + ry) + at(cx, cy + ry) + "c\n";
    out_ += at(cx - kx, cy + ry) + at(cx - rx, cy + ky) + at(cx - rx, cy) + "c\n";
    out_ += at(cx - rx, cy - ky) + at(cx - kx, cy - ry) + at(cx, cy - ry) + "c\n";
    out_ += at(cx + kx, cy - ry) + at(cx + rx, cy - ky) + at(cx + rx, cy) + "c h\n";
    paint(pen, brush);
    ink(r.left, r.top, r.right, r.bottom, pen.width);
}

void PdfPageCanvas::points(const std::vector<PagePoint>& points)
{
    std::int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
    for (size_t i = 0; i < points.size(); ++i) {
        const PagePoint& p = points[i];
        out_ += std::to_string(p.x) + " " + std::to_string(p.y) + (i == 0 ? " m\n" : " l\n");
        left = std::min<std::int64_t>(left, p.x);
        top = std::min<std::int64_t>(top, p.y);
        right = std::max<std::int64_t>(right, p.x + 1);
        bottom = std::max<std::int64_t>(bottom, p.y + 1);
    }
    if (!points.empty())
        inked_.add({left, top, right, bottom});
}

void PdfPageCanvas::polyline(const std::vector<PagePoint>& list, const PagePen& pen)
{
    if (!pen.visible || list.size() < 2)
        return;
    graphics();
    points(list);
    paint(pen, PageBrush{PageColor::white(), false});
}

void PdfPageCanvas::polygon(const std::vector<PagePoint>& list, const PagePen& pen, const PageBrush& brush)
{
    if (list.size() < 2)
        return;
    graphics();
    points(list);
    out_ += "h\n";
    paint(pen, brush, true);
}

// Starts a line of text at (x, y): a move from the last line's start, so
// most moves are short; the first line of a text object places itself.
void PdfPageCanvas::lineAt(double x, double y)
{
    if (!lineSet_) {
        out_ += "1 0 0 -1 ";
        appendPdfNumber(out_, x);
        out_ += ' ';
        appendPdfNumber(out_, y);
        out_ += " Tm ";
        lineX_ = std::round(x * 1000) / 1000;
        lineY_ = std::round(y * 1000) / 1000;
        lineSet_ = true;
        return;
    }
    // kept to what the file says, so the moves do not drift
    const double dx = std::round((x - lineX_) * 1000) / 1000, dy = std::round((lineY_ - y) * 1000) / 1000;
    appendPdfNumber(out_, dx);
    out_ += ' ';
    appendPdfNumber(out_, dy);
    out_ += " Td ";
    lineX_ += dx;
    lineY_ -= dy;
}

void PdfPageCanvas::use(PdfFont::Size& sized, int size)
{
    if (&sized == font_)
        return;
    font_ = &sized;
    out_ += '/';
    out_ += sized.resource;
    out_ += ' ';
    appendPdfNumber(out_, size);
    out_ += " Tf ";
}

// One string per run of one face and size, each glyph a code that carries
// its advance, so nothing moves between glyphs.
void PdfPageCanvas::show(double x, double y, int size)
{
    size_t i = 0;
    while (i < glyphs_.size()) {
        PdfFont* face = glyphs_[i].font;
        if (!face) {
            x += glyphs_[i++].advance;
            continue;
        }
        PdfFont::Size* sized = &fonts_.size(*face, size);
        use(*sized, size);
        lineAt(x, y);
        out_ += '(';
        for (; i < glyphs_.size() && glyphs_[i].font == face; ++i) {
            const Glyph& g = glyphs_[i];
            int c = sized->code(g.glyph, g.advance, g.ch);
            if (c < 0) {
                out_ += ")Tj ";
                sized = &fonts_.size(*face, size, true);
                use(*sized, size);
                lineAt(x, y);
                out_ += '(';
                c = sized->code(g.glyph, g.advance, g.ch);
            }
            code(out_, c);
            x += g.advance;
        }
        out_ += ")Tj\n";
    }
}

void PdfPageCanvas::text(const PageText& text, const PageFont& font)
{
    const DrawingFont& drawing = DrawingFont::of(font);
    if (!drawing.raw.isValid() || text.chars.empty())
        return;
    if (!face_ || !(font == faceOf_)) {
        face_ = &fonts_.of(drawing.raw);
        faceOf_ = font;
    }
    PdfFont& own = *face_;
    const int size = drawing.pixelSize;
    const bool spaced = text.advances.size() == text.chars.size();
    glyphs_.clear();
    double width = 0;
    for (size_t i = 0; i < text.chars.size(); ++i) {
        char32_t ch = text.chars[i];
        double advance = spaced ? text.advances[i] : 0;
        if (ch >= 0xD800 && ch < 0xDC00 && i + 1 < text.chars.size() && text.chars[i + 1] >= 0xDC00 &&
            text.chars[i + 1] < 0xE000) {
            ch = 0x10000 + ((ch - 0xD800) << 10) + (text.chars[i + 1] - 0xDC00);
            advance += spaced ? text.advances[++i] : 0;
        }
        PdfFont* face = &own;
        std::uint16_t g = own.glyph(ch);
        if (g == 0 && ch != U' ')
            std::tie(face, g) = fonts_.fallback(ch, drawing.font, own);
        if (g == 0)
            face = nullptr;
        if (!spaced)
            advance = face ? face->width(g) * size / 1000.0 : 0;
        glyphs_.push_back({face, g, advance, ch});
        width += advance;
    }
    const QPointF start = drawing.start(text, width);
    const double x = start.x(), y = start.y();
    inked_.add(drawing.inkOf(start, width));
    if (!inText_)
        out_ += "BT\n";
    inText_ = true;
    fill(text.color);
    show(x, y, size);
    if (font.underline || font.strikeOut) {
        const QFontMetricsF metrics(drawing.font);
        const double thick = std::max(metrics.lineWidth(), 1.0);
        graphics();
        const auto line = [&](double at) {
            out_ += pdfNumber(x) + " " + pdfNumber(at - thick / 2) + " " + pdfNumber(width) + " " + pdfNumber(thick) +
                    " re f\n";
        };
        if (font.underline)
            line(y + metrics.underlinePos());
        if (font.strikeOut)
            line(y - metrics.strikeOutPos());
    }
}
