#pragma once
#include <QRawFont>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "TrueTypeSubset.h"

class PdfObjects;

// One face of a PDF being written: glyph numbers for the page text, and at
// the end the face itself, cut down to the glyphs used, with the map from
// glyphs back to characters that lets readers copy the text. Each size the
// pages use is a font of its own whose glyph widths are the advances the
// pages give them, so text runs need no moves between glyphs.
class PdfFont {
public:
    struct Size {
        std::string resource;  // the name pages use ("F1")
        int number = 0;
        int pixels = 0;
        std::vector<double> widths;  // thousandths of the em by glyph; < 0 not yet used
    };

    explicit PdfFont(const QRawFont& raw);

    // The face's glyph for a character; 0 when it has none.
    std::uint16_t glyph(char32_t ch);
    // Records that `glyph` stands for `ch` on a page.
    void use(std::uint16_t glyph, char32_t ch);
    // The face's own advance of a glyph in thousandths of the em.
    double width(std::uint16_t glyph) const;
    // The font of this face in `pixels`, made on first use.
    Size& size(int pixels, PdfObjects& pdf, int& resources);
    // The face's objects; false when writing failed.
    bool write(PdfObjects& pdf) const;
    const std::vector<std::unique_ptr<Size>>& sizes() const { return sizes_; }

private:
    std::string baseName() const;
    std::string toUnicode() const;

    QRawFont raw_;
    std::optional<TrueTypeSubset::Metrics> metrics_;
    std::vector<std::int32_t> basic_;  // glyph by character below 65536; -1 not looked up
    std::unordered_map<char32_t, std::uint16_t> others_;
    std::vector<char32_t> used_;  // the character each glyph stands for; 0 unused
    std::vector<std::unique_ptr<Size>> sizes_;
};
