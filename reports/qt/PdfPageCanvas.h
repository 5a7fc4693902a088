#pragma once
#include <string>
#include <vector>

#include "EmfPlayer.h"
#include "InkedAreas.h"
#include "PageCanvas.h"
#include "PdfFont.h"

class PdfFonts;

// Draws page pictures as the content of PDF pages: the picture's pixels are
// mapped onto the page as the preview maps them onto its sheet, texts are
// glyphs of embedded fonts placed at the picture's own advances (blanks
// included, so readers find the words), shapes are paths.
class PdfPageCanvas : public PageCanvas {
public:
    explicit PdfPageCanvas(PdfFonts& fonts) : fonts_(fonts) {}

    // Starts a page of `width` by `height` points for a picture.
    void begin(const EmfPictureInfo& picture, double width, double height);
    // The page's content, ended; valid until the next begin().
    const std::string& end();

    void rectangle(const PageRect& rect, const PagePen& pen, const PageBrush& brush) override;
    void ellipse(const PageRect& rect, const PagePen& pen, const PageBrush& brush) override;
    void polyline(const std::vector<PagePoint>& points, const PagePen& pen) override;
    void polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush) override;
    void text(const PageText& text, const PageFont& font) override;

private:
    struct Glyph {
        PdfFont* font;
        std::uint16_t glyph;
        double advance;
        char32_t ch;
    };

    void graphics();
    void fill(const PageColor& color);
    void stroke(const PagePen& pen);
    // Fills, strokes or both the path just described; nothing when neither.
    void paint(const PagePen& pen, const PageBrush& brush, bool evenOdd = false);
    void ink(std::int64_t left, std::int64_t top, std::int64_t right, std::int64_t bottom, std::int32_t pen = 0);
    void points(const std::vector<PagePoint>& points);
    void lineAt(double x, double y);
    void use(PdfFont::Size& sized, int size);
    void show(double x, double y, int size);

    PdfFonts& fonts_;
    std::string out_;
    InkedAreas inked_;
    bool inText_ = false;
    bool lineSet_ = false;  // the text object's line start is placed
    double lineX_ = 0, lineY_ = 0;
    std::vector<Glyph> glyphs_;  // of the text being drawn
    PdfFont* face_ = nullptr;    // the face of the last text's font
    PageFont faceOf_;
    const void* font_ = nullptr;  // the size last chosen
    PageColor fill_, stroke_;
    std::int32_t width_ = -1;
};
