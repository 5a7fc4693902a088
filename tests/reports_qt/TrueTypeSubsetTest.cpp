#include <gtest/gtest.h>

#include <QFont>
#include <QPainterPath>
#include <QRawFont>

#include "TrueTypeSubset.h"

namespace {

TrueTypeSubset::TableSource tablesOf(const QRawFont& raw)
{
    return [raw](const char* tag) {
        const QByteArray table = raw.fontTable(tag);
        return std::string(table.constData(), static_cast<size_t>(table.size()));
    };
}

quint32 glyphOf(const QRawFont& raw, QChar c)
{
    return raw.glyphIndexesForString(QString(c)).value(0);
}

}  // namespace

// The cut-down face draws the glyphs kept exactly as the whole face does,
// accented letters built from other glyphs included, and nothing else; the
// numbers stay those of the whole face.
TEST(TrueTypeSubset, KeepsTheUsedGlyphsAndWhatTheyAreBuiltFrom)
{
    for (const char* family : {"Liberation Sans", "Liberation Serif"}) {
        QFont font(QString::fromLatin1(family));
        font.setPixelSize(40);
        const QRawFont whole = QRawFont::fromFont(font);
        ASSERT_TRUE(whole.isValid());
        const QString kept = QStringLiteral("Aeé(Ö");
        std::set<std::uint16_t> glyphs;
        for (QChar c : kept)
            glyphs.insert(static_cast<std::uint16_t>(glyphOf(whole, c)));
        const std::string file = TrueTypeSubset::subset(tablesOf(whole), glyphs);
        ASSERT_FALSE(file.empty());
        EXPECT_LT(file.size(), size_t(whole.fontTable("glyf").size()) / 4) << family;

        const QRawFont cut(QByteArray(file.data(), qsizetype(file.size())), 40);
        ASSERT_TRUE(cut.isValid()) << family;
        for (QChar c : kept) {
            const quint32 g = glyphOf(whole, c);
            EXPECT_EQ(cut.pathForGlyph(g).boundingRect(), whole.pathForGlyph(g).boundingRect())
                << family << " " << int(c.unicode());
            EXPECT_FALSE(cut.pathForGlyph(g).isEmpty());
        }
        EXPECT_TRUE(cut.pathForGlyph(glyphOf(whole, QLatin1Char('Z'))).isEmpty()) << family;

        const auto metrics = TrueTypeSubset::metrics(tablesOf(whole));
        ASSERT_TRUE(metrics);
        EXPECT_EQ(metrics->unitsPerEm, 2048);
        EXPECT_GT(metrics->advance(glyphOf(whole, QLatin1Char('W'))),
                  metrics->advance(glyphOf(whole, QLatin1Char('i'))));
    }
}
