#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "PageCanvas.h"

// Writes one page picture as an Enhanced Metafile. The header's bounds are
// the page in pixels and its frame the page in hundredths of a millimetre,
// so any reader scales the page to the paper it was laid out on.
class EmfWriter : public PageCanvas {
public:
    // widthTenthsMm/heightTenthsMm: the paper; pixelsPerInch: the picture's
    // resolution (the screen's for the page store). storage: the bytes of an
    // earlier picture, whose room this one reuses.
    EmfWriter(double widthTenthsMm, double heightTenthsMm, double pixelsPerInch,
              std::vector<std::uint8_t> storage = {});

    void rectangle(const PageRect& rect, const PagePen& pen, const PageBrush& brush) override;
    void ellipse(const PageRect& rect, const PagePen& pen, const PageBrush& brush) override;
    void polyline(const std::vector<PagePoint>& points, const PagePen& pen) override;
    void polygon(const std::vector<PagePoint>& points, const PagePen& pen, const PageBrush& brush) override;
    void text(const PageText& text, const PageFont& font) override;

    std::int32_t widthPixels() const { return widthPx_; }
    std::int32_t heightPixels() const { return heightPx_; }

    // Ends the picture and returns its bytes; the writer is empty afterwards.
    std::vector<std::uint8_t> finish();

private:
    void begin(std::uint32_t type, std::uint32_t size);
    std::uint8_t* record(std::uint32_t type, std::uint32_t size);
    void end();
    void selectPen(const PagePen& pen);
    void selectBrush(const PageBrush& brush);
    void selectFont(const PageFont& font);
    void setTextColor(const PageColor& color);
    void setTextAlign(unsigned align);
    void select(std::uint32_t handle);
    void remove(std::uint32_t handle);
    void boxRecord(std::uint32_t type, const PageRect& rect);
    void pointsRecord(std::uint32_t type16, std::uint32_t type32, const std::vector<PagePoint>& points);

    std::int32_t widthPx_, heightPx_;
    double widthTenthsMm_, heightTenthsMm_;
    std::vector<std::uint8_t> bytes_;
    size_t recordStart_ = 0;
    std::uint32_t records_ = 0;
    std::optional<PagePen> pen_;
    std::optional<PageBrush> brush_;
    std::optional<PageFont> font_;
    std::optional<PageColor> textColor_;
    std::optional<unsigned> textAlign_;
    std::uint32_t penSlot_ = 0, brushSlot_ = 0, fontSlot_ = 0;
};
