#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "PdfExport.h"
#include "TRepPrinter.h"

namespace {

QString textOf(const QString& file)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput()).trimmed();
}

}  // namespace

// A face in one size holds 255 codes, each a glyph at one advance: a line of
// more distinct letters than that goes on in a further font of the same face
// and size, and reads back whole.
TEST(PdfExport, ALineOfMoreLettersThanOneFontHoldsReadsBackWhole)
{
    std::u16string letters;
    for (char16_t c = 0xC0; c <= 0x17F; ++c)
        letters += c;
    for (char16_t c = 0x410; c <= 0x44F; ++c)
        letters += c;
    for (char16_t c = 0x391; c <= 0x3A9; ++c)
        if (c != 0x3A2)  // no letter there
            letters += c;
    // three lines of about a hundred letters, twice: the second time finds
    // the codes the first made
    std::vector<std::u16string> lines;
    for (size_t from = 0; from < letters.size(); from += 102)
        lines.push_back(letters.substr(from, 102));
    TRepPrinter pages;
    pages.OpenDocument();
    pages.NewPage();
    PageFont font;
    font.family = "Arial";
    QStringList expected;
    for (int y = 20; y < 200; y += 30) {
        PageText line;
        line.origin = {20, y};
        line.chars = lines[expected.size() % lines.size()];
        line.advances.assign(line.chars.size(), 7);
        pages.Canvas()->text(line, font);
        expected << QString::fromUtf16(line.chars.data(), qsizetype(line.chars.size()));
    }
    pages.FinishDocument();

    QTemporaryDir folder;
    const QString file = QDir(folder.path()).filePath(QStringLiteral("letters.pdf"));
    ASSERT_TRUE(PdfExport::write(pages, file));
    EXPECT_EQ(textOf(file).split(QLatin1Char('\n'), Qt::SkipEmptyParts), expected);
}
