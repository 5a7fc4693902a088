#include "EditMask.h"

#include "EDBEditError.h"
#include "MaskTestSettings.h"
#include "UnicodeText.h"

#include <gtest/gtest.h>

namespace {

const char* const nipMask = "0000000000;1;_";
const char* const karpegMask = "00000000;1;_";
const char* const birthDateMask = "!99/99/9999;1;_";
const char* const decreeMask = "!A-9999-AA.99.99-9999;1;_";
const char* const transferNipMask = "!99999999999;1;_";
const char* const tmtMask = "!99/99/00;1;_";

class EditMaskTest : public testing::Test {
protected:
    MaskTestSettings settings;
};

// ---- sections, width and positions ----

struct ParseCase {
    const char* mask;
    int width;
    bool saveLiterals;
    char32_t blank;
    bool reverse;
    std::u32string literals;  // the literal positions as shown, others '*'
};

class MaskParse : public testing::TestWithParam<ParseCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskParse, FindsSectionsAndPositions)
{
    const ParseCase& p = GetParam();
    const EditMask mask(p.mask);
    EXPECT_EQ(mask.width(), p.width);
    EXPECT_EQ(mask.saveLiterals(), p.saveLiterals);
    EXPECT_EQ(mask.blank(), p.blank);
    EXPECT_EQ(mask.reverse(), p.reverse);
    std::u32string shape;
    for (int pos = 0; pos < mask.width(); ++pos)
        shape += mask.isLiteral(pos) ? mask.position(pos).literal : U'*';
    EXPECT_EQ(shape, p.literals);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskParse,
    testing::Values(ParseCase{nipMask, 10, true, U'_', false, U"**********"},
                    ParseCase{karpegMask, 8, true, U'_', false, U"********"},
                    ParseCase{birthDateMask, 10, true, U'_', true, U"**/**/****"},
                    ParseCase{decreeMask, 20, true, U'_', true, U"*-****-**.**.**-****"},
                    ParseCase{transferNipMask, 11, true, U'_', true, U"***********"},
                    ParseCase{tmtMask, 8, true, U'_', true, U"**/**/**"},
                    // two sections: flag 0, blank "_"
                    ParseCase{"99-99;0", 5, false, U'_', false, U"**-**"},
                    ParseCase{"999;0;*", 3, false, U'*', false, U"***"},
                    ParseCase{"999;1; ", 3, true, U' ', false, U"***"},
                    // a separator as the last character: literals saved
                    ParseCase{"0000;", 4, true, U'_', false, U"****"},
                    // three characters or fewer: no sections at all
                    ParseCase{"0;0", 3, true, U'_', false, U"*;*"}, ParseCase{"9;", 2, true, U'_', false, U"*;"},
                    // a ";" before the last four characters is a literal
                    ParseCase{"99;99;1;_", 5, true, U'_', false, U"**;**"},
                    // directives take no position; "\" makes the next character a literal
                    ParseCase{">LL<>ll!", 4, true, U'_', true, U"****"},
                    ParseCase{"\\0\\\\9", 3, true, U'_', false, U"0\\*"},
                    ParseCase{"99\\", 2, true, U'_', false, U"**"}, ParseCase{"", 0, true, U'_', false, U""}),
    [](const testing::TestParamInfo<ParseCase>& info) { return "Mask" + std::to_string(info.index); });

TEST_F(EditMaskTest, RequiredPositionsOfTheDecreeNumber)
{
    const EditMask mask(decreeMask);
    std::vector<int> required;
    for (int pos = 0; pos < mask.width(); ++pos) {
        if (mask.isRequired(pos))
            required.push_back(pos);
    }
    EXPECT_EQ(required, (std::vector<int>{0, 7, 8}));
}

TEST(EditMaskSeparators, SlashAndColonShowTheSystemSeparators)
{
    MaskTestSettings settings('-', '.');
    const EditMask mask("99/99 99:99");
    EXPECT_EQ(mask.position(2).literal, U'-');
    EXPECT_EQ(mask.position(8).literal, U'.');
    EXPECT_EQ(mask.editTextFor("1-2 3.4"), "1_-2_ 3_.4_");
    const EditMask escaped("99\\/99");
    EXPECT_EQ(escaped.position(2).literal, U'/');
}

struct AcceptCase {
    const char* pattern;
    std::u32string accepted;
    std::u32string rejected;
};

class MaskAccept : public testing::TestWithParam<AcceptCase> {};

TEST_P(MaskAccept, AcceptsItsCharacterClass)
{
    const EditMask mask(GetParam().pattern);
    for (char32_t c : GetParam().accepted)
        EXPECT_TRUE(mask.accepts(0, c)) << GetParam().pattern << " " << static_cast<unsigned>(c);
    for (char32_t c : GetParam().rejected)
        EXPECT_FALSE(mask.accepts(0, c)) << GetParam().pattern << " " << static_cast<unsigned>(c);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, MaskAccept,
    testing::Values(AcceptCase{"0", U"09", U"a _+-\u00E9\u0661"}, AcceptCase{"9", U"5", U"x -"},
                    AcceptCase{"#", U"7 +-", U"a_.*"}, AcceptCase{"L", U"aZ\u00E9\u00D1\u0436\u03B1", U"1 _-\u00D7"},
                    AcceptCase{"l", U"q\u00FC", U"0."}, AcceptCase{"A", U"a9\u00E9", U" _-"},
                    AcceptCase{"a", U"Z0", U"/"},
                    AcceptCase{"C", U" _-a1\u20AC\U0001F600", std::u32string{U'\n', U'\t', char32_t{0x7F}}},
                    AcceptCase{"c", U"?", std::u32string{char32_t{0x1B}}}));

// ---- rules 1, 2 and 3 over the six masks ----

struct TextCase {
    const char* mask;
    const char* value;
    const char* expected;
};

std::string caseName(const testing::TestParamInfo<TextCase>& info)
{
    return "Case" + std::to_string(info.index);
}

class MaskSetText : public testing::TestWithParam<TextCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskSetText, AlignsByLiterals)
{
    EXPECT_EQ(EditMask(GetParam().mask).editTextFor(GetParam().value), GetParam().expected)
        << GetParam().mask << " <- \"" << GetParam().value << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskSetText,
    testing::Values(TextCase{nipMask, "1234567890", "1234567890"}, TextCase{nipMask, "123", "123_______"},
                    TextCase{nipMask, "", "__________"}, TextCase{nipMask, "123456789012", "1234567890"},
                    TextCase{nipMask, "12 45", "12_45_____"}, TextCase{karpegMask, "1234", "1234____"},
                    TextCase{karpegMask, "123456789", "12345678"}, TextCase{birthDateMask, "05/08/1970", "05/08/1970"},
                    TextCase{birthDateMask, "5/8/1970", "_5/_8/1970"}, TextCase{birthDateMask, "", "__/__/____"},
                    TextCase{birthDateMask, " 5/ 8/1970", "_5/_8/1970"}, TextCase{birthDateMask, "1970", "70/__/____"},
                    TextCase{decreeMask, "B-1234-CD.56.78-2020", "B-1234-CD.56.78-2020"},
                    TextCase{decreeMask, "", "_-____-__.__.__-____"},
                    TextCase{decreeMask, "B-12-CD.5.78-2020", "B-__12-CD._5.78-2020"},
                    TextCase{transferNipMask, "12345", "______12345"},
                    TextCase{transferNipMask, "123456789012345", "56789012345"},
                    TextCase{tmtMask, "05/08/2024", "05/08/24"}, TextCase{tmtMask, "5/8/24", "_5/_8/24"},
                    TextCase{tmtMask, "", "__/__/__"},
                    // without the reverse directive the first two year digits stay
                    TextCase{"99/99/00;1;_", "05/08/2024", "05/08/20"},
                    // save-literals off: positions filled, surplus kept at the end
                    TextCase{"99-99;0", "1234", "12-34"}, TextCase{"99-99;0", "12", "12-__"},
                    TextCase{"99-99;0", "123456", "12-3456"}, TextCase{"!99-99;0;*", "123", "*1-23"},
                    TextCase{"!99-99;0;*", "1234567", "45-67"},
                    // a mask of three characters has no sections and saves literals
                    TextCase{"0;0", "1;2", "1;2"}, TextCase{"0;0", "12", "1;_"}),
    caseName);

class MaskReadText : public testing::TestWithParam<TextCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskReadText, ReadsBackTheStoredText)
{
    EXPECT_EQ(EditMask(GetParam().mask).textOf(GetParam().value), GetParam().expected)
        << GetParam().mask << " -> \"" << GetParam().value << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskReadText,
    testing::Values(TextCase{nipMask, "__________", "          "}, TextCase{nipMask, "1234567890", "1234567890"},
                    TextCase{nipMask, "123456789_", "123456789 "}, TextCase{nipMask, "1_3_______", "1 3       "},
                    TextCase{karpegMask, "________", "        "}, TextCase{birthDateMask, "__/__/____", "  /  /    "},
                    TextCase{birthDateMask, "_5/_8/1970", " 5/ 8/1970"},
                    TextCase{birthDateMask, "12/05/19__", "12/05/19  "},
                    TextCase{decreeMask, "B-1234-CD.56.78-2020", "B-1234-CD.56.78-2020"},
                    TextCase{decreeMask, "_-____-__.__.__-____", " -    -  .  .  -    "},
                    TextCase{transferNipMask, "12345______", "12345      "},
                    TextCase{transferNipMask, "______12345", "      12345"}, TextCase{tmtMask, "_5/_8/24", " 5/ 8/24"},
                    TextCase{tmtMask, "__/__/__", "  /  /  "},
                    // save-literals off: literals and trailing blanks gone
                    TextCase{"99-99;0", "12-34", "1234"}, TextCase{"99-99;0", "1_-3_", "1 3"},
                    TextCase{"!99-99;0;*", "**-*3", "3"},
                    // a space blank stays a space
                    TextCase{"999;1; ", "1  ", "1  "}),
    caseName);

class MaskDisplay : public testing::TestWithParam<TextCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskDisplay, FormatsAStoredValueWithSpaces)
{
    EXPECT_EQ(EditMask(GetParam().mask).displayText(GetParam().value), GetParam().expected)
        << GetParam().mask << " <- \"" << GetParam().value << "\"";
}

INSTANTIATE_TEST_SUITE_P(Masks, MaskDisplay,
                         testing::Values(TextCase{nipMask, "123", "123       "}, TextCase{nipMask, "", "          "},
                                         TextCase{karpegMask, "12345678", "12345678"},
                                         TextCase{birthDateMask, "5/8/1970", " 5/ 8/1970"},
                                         TextCase{decreeMask, "B-1234-CD.56.78-2020", "B-1234-CD.56.78-2020"},
                                         TextCase{decreeMask, "B-1", "B-   1-  .  .  -    "},
                                         TextCase{transferNipMask, "12345      ", "12345      "},
                                         TextCase{transferNipMask, "12345", "      12345"},
                                         TextCase{tmtMask, "05/08/2024", "05/08/24"},
                                         TextCase{"99-99;0", "12", "12-  "}, TextCase{"", "as is_", "as is_"},
                                         // too long: cut at the front, or the back in reverse mode
                                         TextCase{nipMask, "123456789012", "1234567890"},
                                         TextCase{transferNipMask, "123456789012", "23456789012"},
                                         // beyond ASCII: counted in characters, not bytes
                                         TextCase{nipMask,
                                                  "\xC3\xA9"
                                                  "1",
                                                  "\xC3\xA9"
                                                  "1        "},
                                         TextCase{"!99/99;1;_", "\xC3\xA9/1", " \xC3\xA9/ 1"}),
                         caseName);

// ---- rule 8 ----

struct ValidateCase {
    const char* mask;
    const char* editText;
    int failing;  // -1: valid
};

class MaskValidate : public testing::TestWithParam<ValidateCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskValidate, FindsTheFirstUnfilledRequiredPosition)
{
    const ValidateCase& p = GetParam();
    const EditMask mask(p.mask);
    const std::u32string edit = UnicodeText::fromUtf8(p.editText);
    EXPECT_EQ(mask.firstInvalidPosition(edit), p.failing) << p.mask << " \"" << p.editText << "\"";
    if (p.failing < 0) {
        EXPECT_NO_THROW(mask.validate(edit));
        return;
    }
    try {
        mask.validate(edit);
        ADD_FAILURE() << "no error for " << p.editText;
    } catch (const EDBEditError& error) {
        EXPECT_STREQ(error.what(), "Invalid input value.  Use escape key to abandon changes");
        EXPECT_EQ(error.position(), p.failing);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskValidate,
    testing::Values(ValidateCase{nipMask, "1234567890", -1}, ValidateCase{nipMask, "123456789_", 9},
                    ValidateCase{nipMask, "__________", 0}, ValidateCase{nipMask, "12345 7890", 5},
                    ValidateCase{karpegMask, "1234567_", 7}, ValidateCase{karpegMask, "12345678", -1},
                    ValidateCase{birthDateMask, "__/__/____", -1}, ValidateCase{decreeMask, "_-____-__.__.__-____", 0},
                    ValidateCase{decreeMask, "B-____-__.__.__-____", 7},
                    ValidateCase{decreeMask, "B-____-C_.__.__-____", 8},
                    ValidateCase{decreeMask, "B-____-CD.__.__-____", -1},
                    ValidateCase{transferNipMask, "___________", -1}, ValidateCase{tmtMask, "__/__/__", 6},
                    ValidateCase{tmtMask, "05/08/2_", 7}, ValidateCase{tmtMask, "__/__/24", -1},
                    ValidateCase{"CC", " _", 1}, ValidateCase{"CC", "  ", -1}, ValidateCase{"LL;1; ", "a ", 1},
                    ValidateCase{"", "", -1}),
    [](const testing::TestParamInfo<ValidateCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(EditMaskTest, CaseDirectivesApplyToLaterLetters)
{
    const EditMask mask(">LL<>LL<L");
    EXPECT_EQ(mask.convertCase(0, U'a'), U'A');
    EXPECT_EQ(mask.convertCase(1, 0xE9), char32_t{0xC9});
    EXPECT_EQ(mask.convertCase(2, U'a'), U'a');
    EXPECT_EQ(mask.convertCase(3, U'B'), U'B');
    EXPECT_EQ(mask.convertCase(4, U'B'), U'b');
    EXPECT_EQ(mask.convertCase(0, U'1'), U'1');
}

TEST_F(EditMaskTest, ForeignTextIsPaddedOrCut)
{
    const EditMask mask(birthDateMask);
    for (const char* value : {"\xFF\xFE/\xC3", "\xD0\x96\xD0\x96\xD0\x96-1-", "////////////", "\n\t\r"}) {
        const std::u32string edit = mask.apply(UnicodeText::fromUtf8(value), mask.blank());
        EXPECT_EQ(edit.size(), 10u) << value;
        EXPECT_EQ(edit[2], U'/');
        EXPECT_EQ(edit[5], U'/');
    }
}

}  // namespace

// The position tables behind the editor's moves, against a plain walk over
// the positions, on masks with literal runs at either end and none at all.
TEST(EditMaskPositions, NextAndPreviousPositionsMatchAWalk)
{
    MaskTestSettings settings;
    for (const char* text : {"", "0", "-", "--00-0--", "!99/99/9999;1;_", "0000", "-/-", "(999) 000-0000;0;_"}) {
        const EditMask mask(text);
        const int width = mask.width();
        for (int pos = -2; pos <= width + 2; ++pos) {
            int next = width, previous = -1, literal = -1;
            for (int i = std::max(pos, 0); i < width && next == width; ++i)
                if (!mask.isLiteral(i))
                    next = i;
            for (int i = std::min(pos, width) - 1; i >= 0 && previous < 0; --i)
                if (!mask.isLiteral(i))
                    previous = i;
            for (int i = std::max(pos + 1, 0); i < width && literal < 0; ++i)
                if (mask.isLiteral(i))
                    literal = i;
            EXPECT_EQ(mask.nextMaskPosition(pos), next) << text << " at " << pos;
            EXPECT_EQ(mask.previousMaskPosition(pos), previous) << text << " at " << pos;
            EXPECT_EQ(mask.nextLiteral(pos), literal) << text << " at " << pos;
        }
    }
}
