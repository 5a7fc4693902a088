#include "UnicodeText.h"

#include <gtest/gtest.h>

namespace {

struct DecodeCase {
    const char* name;
    std::string bytes;
    std::u32string expected;
};

class UnicodeDecode : public testing::TestWithParam<DecodeCase> {};

TEST_P(UnicodeDecode, DecodesOrReplaces)
{
    EXPECT_EQ(UnicodeText::fromUtf8(GetParam().bytes), GetParam().expected);
}

const char32_t R = UnicodeText::replacement;

INSTANTIATE_TEST_SUITE_P(Cases, UnicodeDecode,
                         testing::Values(DecodeCase{"Ascii", "A1_", U"A1_"},
                                         DecodeCase{"TwoByte", "\xC3\xA9", U"\u00E9"},
                                         DecodeCase{"ThreeByte", "\xE2\x82\xAC", U"\u20AC"},
                                         DecodeCase{"FourByte", "\xF0\x9F\x98\x80", U"\U0001F600"},
                                         DecodeCase{"LoneContinuation",
                                                    "a\x80"
                                                    "b",
                                                    std::u32string{U'a', R, U'b'}},
                                         DecodeCase{"OverlongSlash", "\xC0\xAF", std::u32string{R, R}},
                                         DecodeCase{"OverlongThreeByte", "\xE0\x80\xAF", std::u32string{R, R, R}},
                                         DecodeCase{"Surrogate", "\xED\xA0\x80", std::u32string{R, R, R}},
                                         DecodeCase{"AboveMaximum", "\xF4\x90\x80\x80", std::u32string{R, R, R, R}},
                                         DecodeCase{"TruncatedAtEnd", "x\xE2\x82", std::u32string{U'x', R}},
                                         DecodeCase{"TruncatedBeforeAscii",
                                                    "\xE2\x82"
                                                    "1",
                                                    std::u32string{R, U'1'}},
                                         DecodeCase{"InvalidLead", "\xFF\xFE", std::u32string{R, R}}),
                         [](const testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(UnicodeText, EncodesWhatItDecodes)
{
    const std::string text = "Zuvid \xC3\xA9\xC3\x9F \xD0\x96 \xCE\xB1 \xE2\x82\xAC \xF0\x9F\x98\x80";
    EXPECT_EQ(UnicodeText::toUtf8(UnicodeText::fromUtf8(text)), text);
}

TEST(UnicodeText, EncodesNonScalarsAsReplacement)
{
    EXPECT_EQ(UnicodeText::toUtf8(char32_t{0xD800}), "\xEF\xBF\xBD");
    EXPECT_EQ(UnicodeText::toUtf8(char32_t{0x110000}), "\xEF\xBF\xBD");
}

struct ClassCase {
    char32_t c;
    bool letter;
    char32_t upper;
    char32_t lower;
};

class UnicodeClass : public testing::TestWithParam<ClassCase> {};

TEST_P(UnicodeClass, ClassifiesAndMapsCase)
{
    const ClassCase& p = GetParam();
    EXPECT_EQ(UnicodeText::isLetter(p.c), p.letter) << std::hex << static_cast<unsigned>(p.c);
    EXPECT_EQ(UnicodeText::toUpper(p.c), p.upper) << std::hex << static_cast<unsigned>(p.c);
    EXPECT_EQ(UnicodeText::toLower(p.c), p.lower) << std::hex << static_cast<unsigned>(p.c);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnicodeClass,
                         testing::Values(ClassCase{U'a', true, U'A', U'a'}, ClassCase{U'Z', true, U'Z', U'z'},
                                         ClassCase{U'5', false, U'5', U'5'}, ClassCase{U'_', false, U'_', U'_'},
                                         ClassCase{U' ', false, U' ', U' '},
                                         ClassCase{0xE9, true, 0xC9, 0xE9},     // e acute
                                         ClassCase{0xD1, true, 0xD1, 0xF1},     // N tilde
                                         ClassCase{0xD7, false, 0xD7, 0xD7},    // multiplication sign
                                         ClassCase{0xDF, true, 0xDF, 0xDF},     // sharp s has no single upper case
                                         ClassCase{0x101, true, 0x100, 0x101},  // a macron
                                         ClassCase{0x3B1, true, 0x391, 0x3B1},  // alpha
                                         ClassCase{0x416, true, 0x416, 0x436},  // Zhe
                                         ClassCase{0x20AC, false, 0x20AC, 0x20AC}, ClassCase{0x0A, false, 0x0A, 0x0A},
                                         ClassCase{0x85, false, 0x85, 0x85}));

// The one cutter behind every field size: characters count as the decoder
// counts them, so stray bytes never slip past the limit.
struct CutCase {
    const char* name;
    std::string text;
    size_t count;
    std::string expected;
};

class UnicodeCut : public testing::TestWithParam<CutCase> {};

TEST_P(UnicodeCut, KeepsTheFirstCharacters)
{
    EXPECT_EQ(UnicodeText::leftUtf8(GetParam().text, GetParam().count), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, UnicodeCut,
                         testing::Values(CutCase{"Ascii", "abcdef", 3, "abc"}, CutCase{"Shorter", "ab", 5, "ab"},
                                         CutCase{"Zero", "ab", 0, ""},
                                         CutCase{"TwoByte", "\xC3\xA9\xC3\xA9\xC3\xA9", 2, "\xC3\xA9\xC3\xA9"},
                                         CutCase{"FourByte", "\xF0\x9F\x98\x80x", 1, "\xF0\x9F\x98\x80"},
                                         CutCase{"Continuations", std::string(40, '\x80'), 25, std::string(25, '\x80')},
                                         CutCase{"StrayAfterLetter",
                                                 "a\x80\x80"
                                                 "b",
                                                 2, "a\x80"},
                                         CutCase{"TruncatedSequence", "\xE2\x82x", 1, "\xE2\x82"},
                                         CutCase{"InvalidLeads", "\xFF\xFE\xFDz", 2, "\xFF\xFE"}),
                         [](const testing::TestParamInfo<CutCase>& info) { return std::string(info.param.name); });

TEST(UnicodeText, CutsAMegabyteOfContinuationBytesToTheCount)
{
    std::string text(1 << 20, '\xBF');
    std::string cut = UnicodeText::leftUtf8(text, 25);
    EXPECT_EQ(cut.size(), 25u);
    EXPECT_EQ(UnicodeText::fromUtf8(cut).size(), 25u);
}

}  // namespace
