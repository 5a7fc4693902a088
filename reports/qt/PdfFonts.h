#pragma once
#include <QFont>
#include <QRawFont>
#include <map>
#include <memory>
#include <string>
#include <utility>

#include "PdfFont.h"

class PdfObjects;

// The fonts of a PDF being written, one per face, and for characters a
// face lacks the face Qt would draw them with.
class PdfFonts {
public:
    explicit PdfFonts(PdfObjects& pdf) : pdf_(pdf) {}

    PdfFont& of(const QRawFont& raw);
    PdfFont::Size& size(PdfFont& face, int pixels, bool full = false);
    // The font and glyph for a character `font`'s own face lacks; the glyph
    // is 0 when no face has it.
    std::pair<PdfFont*, std::uint16_t> fallback(char32_t ch, const QFont& font, PdfFont& own);
    // Every font's objects, and the resource dictionary naming them all.
    bool write(int resources) const;

private:
    PdfObjects& pdf_;
    int resources_ = 0;
    std::map<std::string, std::unique_ptr<PdfFont>> fonts_;
    std::map<std::pair<std::string, char32_t>, std::pair<PdfFont*, std::uint16_t>> fallbacks_;
};
