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
    // The face in one size: a font of its own whose one-byte codes each
    // stand for a glyph at one advance, so a text is its codes alone, every
    // glyph at the advance the page gives it without a move between glyphs.
    // A size whose 255 codes are taken is followed by another.
    struct Size {
        std::string resource;  // the name pages use ("F1")
        int number = 0;
        int pixels = 0;
        // by code, from 1
        std::vector<std::uint16_t> glyphs{0};
        std::vector<double> widths{0};  // thousandths of the em
        std::vector<char32_t> chars{0};

        // The code of `glyph` at `advance` pixels; -1 when all are taken.
        int code(std::uint16_t glyph, double advance, char32_t ch);

    private:
        std::unordered_map<std::uint64_t, std::uint8_t> codes_;  // glyph and advance to code
        // The last two advances of each glyph and their codes: a line's
        // rounding gives most glyphs one of two advances.
        std::vector<double> lastAdvance_ = std::vector<double>(0x20000, -1);
        std::vector<std::uint8_t> lastCode_ = std::vector<std::uint8_t>(0x20000, 0);
    };

    explicit PdfFont(const QRawFont& raw);

    // The face's glyph for a character; 0 when it has none.
    std::uint16_t glyph(char32_t ch);
    // The face's own advance of a glyph in thousandths of the em.
    double width(std::uint16_t glyph) const;
    // The font of this face in `pixels`, made on first use; a new one when
    // `full` (the last one's codes are all taken).
    Size& size(int pixels, PdfObjects& pdf, int& resources, bool full = false);
    // The face's objects; false when writing failed.
    // `encoding`: the one-byte code map every size names.
    bool write(PdfObjects& pdf, int encoding) const;
    const std::vector<std::unique_ptr<Size>>& sizes() const { return sizes_; }

private:
    TrueTypeSubset::TableSource tables() const;
    std::string baseName() const;

    QRawFont raw_;
    std::optional<TrueTypeSubset::Metrics> metrics_;
    std::vector<std::int32_t> basic_;  // glyph by character below 65536; -1 not looked up
    std::unordered_map<char32_t, std::uint16_t> others_;
    std::vector<std::unique_ptr<Size>> sizes_;
};
