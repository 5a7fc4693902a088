// The blank's glyph read back as a space from an exported PDF's text map.
#include "PdfBlankGlyphs.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

std::string mended(const std::string& pdf)
{
    char name[] = "/tmp/blank-glyphs-XXXXXX";
    const int fd = ::mkstemp(name);
    ::unlink(name);
    EXPECT_EQ(::write(fd, pdf.data(), pdf.size()), static_cast<ssize_t>(pdf.size()));
    EXPECT_TRUE(PdfBlankGlyphs::mapToSpaces(fd));
    std::string back(pdf.size() + 16, '\0');
    back.resize(static_cast<size_t>(::pread(fd, back.data(), back.size(), 0)));
    ::close(fd);
    return back;
}

}  // namespace

TEST(PdfBlankGlyphs, OnlyCodesThatStandForTheBlankChange)
{
    const std::string before = "%PDF-1.4\nstream\n<0009> not a map\nendstream\n"
                               "begincmap\n3 beginbfrange\n"
                               "<0000> <0002> [<0048> <0009> <0077> ]\n"
                               "<0003> <0003> <0009>\n"
                               "<0004> <0005> <0009>\n"
                               "endbfrange\n1 beginbfchar\n<0006> <0009>\nendbfchar\nendcmap\n%%EOF\n";
    const std::string after = "%PDF-1.4\nstream\n<0009> not a map\nendstream\n"
                              "begincmap\n3 beginbfrange\n"
                              "<0000> <0002> [<0048> <0020> <0077> ]\n"
                              "<0003> <0003> <0020>\n"
                              "<0004> <0005> <0009>\n"
                              "endbfrange\n1 beginbfchar\n<0006> <0020>\nendbfchar\nendcmap\n%%EOF\n";
    EXPECT_EQ(mended(before), after);
    // A map past the first chunk, behind a megabyte of other bytes.
    const std::string padding(3 << 20, 'x');
    EXPECT_EQ(mended(padding + before), padding + after);
}
