#include "PdfFont.h"

#include <QChar>
#include <QList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <set>

#include "PdfObjects.h"

namespace {

std::string hex4(std::uint32_t v)
{
    char out[8];
    std::snprintf(out, sizeof out, "%04X", v & 0xFFFF);
    return out;
}

// A character as UTF-16 in hexadecimal, a surrogate pair for the rare ones.
std::string utf16Hex(char32_t ch)
{
    if (ch < 0x10000)
        return hex4(ch);
    const char32_t v = ch - 0x10000;
    return hex4(0xD800 + (v >> 10)) + hex4(0xDC00 + (v & 0x3FF));
}

}  // namespace

PdfFont::PdfFont(const QRawFont& raw) : raw_(raw), basic_(0x10000, -1)
{
    metrics_ = TrueTypeSubset::metrics(tables());
}

TrueTypeSubset::TableSource PdfFont::tables() const
{
    return [this](const char* tag) {
        const QByteArray table = raw_.fontTable(tag);
        return std::string(table.constData(), static_cast<size_t>(table.size()));
    };
}

std::uint16_t PdfFont::glyph(char32_t ch)
{
    if (ch < 0x10000 && basic_[ch] >= 0)
        return static_cast<std::uint16_t>(basic_[ch]);
    if (ch >= 0x10000) {
        if (auto found = others_.find(ch); found != others_.end())
            return found->second;
    }
    QChar units[2];
    const int count = QChar::requiresSurrogates(ch) ? 2 : 1;
    if (count == 2) {
        units[0] = QChar(QChar::highSurrogate(ch));
        units[1] = QChar(QChar::lowSurrogate(ch));
    } else {
        units[0] = QChar(static_cast<char16_t>(ch));
    }
    quint32 indexes[2] = {0, 0};
    int found = 2;
    if (!raw_.glyphIndexesForChars(units, count, indexes, &found) || found < 1 || indexes[0] > 0xFFFF)
        indexes[0] = 0;
    const auto g = static_cast<std::uint16_t>(indexes[0]);
    if (ch < 0x10000)
        basic_[ch] = g;
    else
        others_[ch] = g;
    return g;
}

int PdfFont::Size::code(std::uint16_t glyph, double advance, char32_t ch)
{
    const size_t slot = 2 * size_t(glyph);
    if (lastAdvance_[slot] == advance)
        return lastCode_[slot];
    if (lastAdvance_[slot + 1] == advance)
        return lastCode_[slot + 1];
    const double width = std::round(advance * 1000.0 / pixels * 1000) / 1000;
    const auto key = (std::uint64_t(glyph) << 40) | (std::uint64_t(std::llround(width * 1000)) & 0xFFFFFFFFFFull);
    auto found = codes_.find(key);
    if (found == codes_.end()) {
        if (glyphs.size() > 0xFF)
            return -1;
        found = codes_.emplace(key, static_cast<std::uint8_t>(glyphs.size())).first;
        glyphs.push_back(glyph);
        widths.push_back(width);
        chars.push_back(ch);
    }
    lastAdvance_[slot + 1] = lastAdvance_[slot];
    lastCode_[slot + 1] = lastCode_[slot];
    lastAdvance_[slot] = advance;
    lastCode_[slot] = found->second;
    return found->second;
}

double PdfFont::width(std::uint16_t glyph) const
{
    return metrics_ ? metrics_->advance(glyph) * 1000.0 / metrics_->unitsPerEm : 0;
}

PdfFont::Size& PdfFont::size(int pixels, PdfObjects& pdf, int& resources, bool full)
{
    for (auto made = sizes_.rbegin(); made != sizes_.rend() && !full; ++made)
        if ((*made)->pixels == pixels)
            return **made;
    auto made = std::make_unique<Size>();
    made->resource = "F" + std::to_string(++resources);
    made->number = pdf.reserve();
    made->pixels = pixels;
    sizes_.push_back(std::move(made));
    return *sizes_.back();
}

std::string PdfFont::baseName() const
{
    std::string name;
    for (QChar c : raw_.familyName() + QLatin1Char('-') + raw_.styleName())
        if ((c.isLetterOrNumber() && c.unicode() < 128) || c == QLatin1Char('-'))
            name += static_cast<char>(c.unicode());
    // The six letters that mark a face cut down to what the file uses.
    std::string tag(6, 'A');
    int n = sizes_.empty() ? 0 : sizes_.front()->number;
    for (int i = 5; i >= 0; --i, n /= 26)
        tag[static_cast<size_t>(i)] = static_cast<char>('A' + n % 26);
    return tag + "+" + name;
}

namespace {

// The character each code stands for, for readers that copy the text.
std::string toUnicode(const PdfFont::Size& size)
{
    std::string out = "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                      "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
                      "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
                      "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n";
    for (size_t from = 1; from < size.chars.size(); from += 100) {
        const size_t to = std::min(size.chars.size(), from + 100);
        out += std::to_string(to - from) + " beginbfchar\n";
        for (size_t c = from; c < to; ++c)
            out += "<" + hex4(static_cast<std::uint32_t>(c)).substr(2) + "> <" + utf16Hex(size.chars[c]) + ">\n";
        out += "endbfchar\n";
    }
    return out + "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
}

// Each code's glyph, two bytes a code.
std::string glyphMap(const PdfFont::Size& size)
{
    std::string out;
    out.reserve(size.glyphs.size() * 2);
    for (std::uint16_t g : size.glyphs) {
        out += char(g >> 8);
        out += char(g & 0xFF);
    }
    return out;
}

// Each code's width, from code 1 on.
std::string widthsOf(const PdfFont::Size& size)
{
    std::string out = "[1 [";
    for (size_t c = 1; c < size.widths.size(); ++c) {
        out += c > 1 ? " " : "";
        appendPdfNumber(out, size.widths[c]);
    }
    return out + "]]";
}

}  // namespace

bool PdfFont::write(PdfObjects& pdf, int encoding) const
{
    std::set<std::uint16_t> glyphs;
    for (const auto& size : sizes_)
        glyphs.insert(size->glyphs.begin() + 1, size->glyphs.end());
    const std::string file = TrueTypeSubset::subset(tables(), glyphs);
    // Without outlines to embed (not a TrueType face) readers take a face of their own.
    const int fontFile = file.empty() ? 0 : pdf.reserve();
    const int descriptor = pdf.reserve();
    const std::string name = "/" + baseName();
    const TrueTypeSubset::Metrics m = metrics_.value_or(TrueTypeSubset::Metrics{});
    const auto scaled = [&](int v) { return std::to_string(std::lround(v * 1000.0 / m.unitsPerEm)); };
    const bool italic = raw_.style() != QFont::StyleNormal;
    const auto ref = [](int n) { return " " + std::to_string(n) + " 0 R"; };
    bool ok = (file.empty() || pdf.stream(fontFile, " /Length1 " + std::to_string(file.size()), file)) &&
              pdf.object(descriptor, "<< /Type /FontDescriptor /FontName " + name + " /Flags " + (italic ? "68" : "4") +
                                         " /FontBBox [" + scaled(m.xMin) + " " + scaled(m.yMin) + " " + scaled(m.xMax) +
                                         " " + scaled(m.yMax) + "] /ItalicAngle " + (italic ? "-12" : "0") +
                                         " /Ascent " + scaled(m.ascent) + " /Descent " + scaled(m.descent) +
                                         " /CapHeight " + scaled(m.ascent) + " /StemV 80" +
                                         (file.empty() ? "" : " /FontFile2" + ref(fontFile)) + " >>");
    for (const auto& size : sizes_) {
        const int cid = pdf.reserve(), gids = pdf.reserve(), map = pdf.reserve();
        ok = ok && pdf.stream(gids, "", glyphMap(*size)) && pdf.stream(map, "", toUnicode(*size)) &&
             pdf.object(cid, "<< /Type /Font /Subtype /CIDFontType2 /BaseFont " + name +
                                 " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>"
                                 " /FontDescriptor" +
                                 ref(descriptor) + " /DW 0 /W " + widthsOf(*size) + " /CIDToGIDMap" + ref(gids) +
                                 " >>") &&
             pdf.object(size->number, "<< /Type /Font /Subtype /Type0 /BaseFont " + name + " /Encoding " +
                                          std::to_string(encoding) + " 0 R /DescendantFonts [" + std::to_string(cid) +
                                          " 0 R] /ToUnicode" + ref(map) + " >>");
    }
    return ok;
}
