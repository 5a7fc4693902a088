#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>

// A TrueType font cut down to the glyphs a document uses, for embedding:
// glyph numbers stay as they are (unused glyphs become empty), so text can
// name glyphs by their numbers in the whole font. The tables come from
// whoever holds the font.
namespace TrueTypeSubset {
// The bytes of one table by its tag ("glyf"); empty when the font has none.
using TableSource = std::function<std::string(const char* tag)>;

struct Metrics {
    int unitsPerEm = 1000;
    int xMin = 0, yMin = 0, xMax = 0, yMax = 0;
    int ascent = 0, descent = 0;
    // advance widths by glyph number, in font units
    std::function<int(std::uint16_t glyph)> advance;
};

// The font's measures; nullopt when the tables are missing or too short.
std::optional<Metrics> metrics(const TableSource& tables);
// The font file holding `glyphs` (and the glyphs they are built from);
// empty when the font is not a TrueType outline font.
std::string subset(const TableSource& tables, const std::set<std::uint16_t>& glyphs);
}  // namespace TrueTypeSubset
