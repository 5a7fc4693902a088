#include "PdfFonts.h"

#include <QGlyphRun>
#include <QTextLayout>

#include "PdfObjects.h"

namespace {

std::string faceKey(const QRawFont& raw)
{
    return (raw.familyName() + QLatin1Char('/') + raw.styleName() + QLatin1Char('/') + QString::number(raw.weight()) +
            QLatin1Char('/') + QString::number(int(raw.style())))
        .toStdString();
}

}  // namespace

PdfFont& PdfFonts::of(const QRawFont& raw)
{
    const std::string key = faceKey(raw);
    auto found = fonts_.find(key);
    if (found == fonts_.end())
        found = fonts_.emplace(key, std::make_unique<PdfFont>(raw)).first;
    return *found->second;
}

PdfFont::Size& PdfFonts::size(PdfFont& face, int pixels, bool full)
{
    return face.size(pixels, pdf_, resources_, full);
}

std::pair<PdfFont*, std::uint16_t> PdfFonts::fallback(char32_t ch, const QFont& font, PdfFont& own)
{
    const auto key = std::make_pair(font.key().toStdString(), ch);
    if (auto found = fallbacks_.find(key); found != fallbacks_.end())
        return found->second;
    std::pair<PdfFont*, std::uint16_t> chosen{&own, 0};
    // Qt's own choice of a face for the character, as the preview draws it.
    QTextLayout layout(QString::fromUcs4(&ch, 1), font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (!glyphs.isEmpty() && glyphs.front() != 0 && glyphs.front() <= 0xFFFF) {
            chosen = {&of(run.rawFont()), static_cast<std::uint16_t>(glyphs.front())};
            break;
        }
    }
    fallbacks_.emplace(key, chosen);
    return chosen;
}

bool PdfFonts::write(int resources) const
{
    // Codes of one byte, each the number of a glyph at one advance.
    const int encoding = pdf_.reserve();
    if (!pdf_.stream(encoding,
                     " /Type /CMap /CMapName /OneByteIdentity"
                     " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >>",
                     "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
                     "/CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0 >> def\n"
                     "/CMapName /OneByteIdentity def\n/CMapType 1 def\n"
                     "1 begincodespacerange\n<00> <FF>\nendcodespacerange\n"
                     "1 begincidrange\n<00> <FF> 0\nendcidrange\n"
                     "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n"))
        return false;
    std::string names = "<< /Font <<";
    for (const auto& [key, font] : fonts_) {
        if (!font->write(pdf_, encoding))
            return false;
        for (const auto& size : font->sizes())
            names += " /" + size->resource + " " + std::to_string(size->number) + " 0 R";
    }
    return pdf_.object(resources, names + " >> /ProcSet [/PDF /Text] >>");
}
