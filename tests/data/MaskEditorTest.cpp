#include "MaskEditor.h"

#include "EDBEditError.h"
#include "MaskTestSettings.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Key = MaskEditor::Key;

// An editor as a control has it after the program set its text and the
// user entered it.
class MaskEditorTest : public testing::Test {
protected:
    void start(const std::string& mask, const std::string& value = "")
    {
        editor.setEditMask(mask);
        editor.setText(value);
        editor.enter();
    }
    // Validates and returns the failing position, -1 when it passed.
    int exitPosition()
    {
        try {
            editor.exit();
        } catch (const EDBEditError& error) {
            EXPECT_STREQ(error.what(), "Invalid input value.  Use escape key to abandon changes");
            return error.position();
        }
        return -1;
    }

    MaskTestSettings settings;
    MaskEditor editor;
};

TEST_F(MaskEditorTest, NipRefusesALetterAndFailsAtTheTenthPosition)
{
    start("0000000000;1;_");
    EXPECT_EQ(editor.editText(), "__________");
    EXPECT_EQ(editor.text(), "          ");
    editor.typeText("a");
    EXPECT_EQ(editor.beepCount(), 1);
    EXPECT_EQ(editor.editText(), "__________");
    EXPECT_EQ(editor.cursor(), 0);
    editor.typeText("123456789");
    EXPECT_EQ(editor.editText(), "123456789_");
    EXPECT_EQ(exitPosition(), 9);
    EXPECT_EQ(editor.cursor(), 9);
    EXPECT_EQ(editor.beepCount(), 2);
    EXPECT_TRUE(editor.reEnter());
    editor.enter();
    editor.typeText("0");
    EXPECT_EQ(exitPosition(), -1);
    EXPECT_EQ(editor.text(), "1234567890");
    EXPECT_FALSE(editor.reEnter());
}

TEST_F(MaskEditorTest, ValidationOnlyAfterAUserChange)
{
    start("0000000000;1;_", "123");
    EXPECT_EQ(exitPosition(), -1);
    editor.typeText("1");
    EXPECT_EQ(exitPosition(), -1) << "typing the same character changes nothing";
    editor.typeText("9");
    EXPECT_EQ(exitPosition(), 3);
    editor.setText("456");
    EXPECT_EQ(exitPosition(), -1);
}

TEST_F(MaskEditorTest, EnterValidatesAndIsNotConsumed)
{
    start("00;1;_");
    editor.typeText("1");
    EXPECT_THROW(editor.pressKey(Key::Enter), EDBEditError);
    editor.typeText("2");
    EXPECT_FALSE(editor.pressKey(Key::Enter));
}

TEST_F(MaskEditorTest, BirthDateSlashJumpsToTheMonth)
{
    start("!99/99/9999;1;_");
    EXPECT_EQ(editor.editText(), "__/__/____");
    editor.typeText("/");
    EXPECT_EQ(editor.cursor(), 3);
    editor.typeText("1/");
    EXPECT_EQ(editor.cursor(), 6);
    editor.typeText("1970");
    EXPECT_EQ(editor.editText(), "__/1_/1970");
    EXPECT_EQ(editor.beepCount(), 0);
    EXPECT_EQ(exitPosition(), -1);
    EXPECT_EQ(editor.text(), "  /1 /1970");
}

TEST_F(MaskEditorTest, BirthDateOneDigitSegmentsAreRightAligned)
{
    start("!99/99/9999;1;_", "5/8/1970");
    EXPECT_EQ(editor.editText(), "_5/_8/1970");
    EXPECT_EQ(editor.text(), " 5/ 8/1970");
    editor.setText("");
    EXPECT_EQ(editor.text(), "  /  /    ");
}

TEST_F(MaskEditorTest, TypingOverDigitsMovesOverLiterals)
{
    start("!99/99/9999;1;_");
    editor.typeText("05081970");
    EXPECT_EQ(editor.editText(), "05/08/1970");
    EXPECT_EQ(editor.cursor(), 10);
    editor.typeText("1");
    EXPECT_EQ(editor.editText(), "05/08/1970");
    EXPECT_EQ(editor.beepCount(), 0);
}

TEST_F(MaskEditorTest, DecreeNumberJumpsAtItsLiterals)
{
    start("!A-9999-AA.99.99-9999;1;_");
    editor.typeText("B");
    EXPECT_EQ(editor.cursor(), 2);
    editor.typeText("12");
    editor.typeText(".");
    EXPECT_EQ(editor.beepCount(), 1) << "the next literal is \"-\"";
    EXPECT_EQ(editor.cursor(), 4);
    editor.typeText("-");
    EXPECT_EQ(editor.cursor(), 7);
    EXPECT_EQ(editor.editText(), "B-12__-__.__.__-____");
    editor.typeText("-");
    EXPECT_EQ(editor.beepCount(), 2) << "the next literal after position 7 is \".\"";
    editor.typeText(".");
    EXPECT_EQ(editor.cursor(), 10);
    EXPECT_EQ(exitPosition(), 7);
    editor.moveCursor(7);
    editor.typeText("c.");
    EXPECT_EQ(editor.cursor(), 10);
    EXPECT_EQ(exitPosition(), 8);
    editor.moveCursor(8);
    editor.typeText("d5.");
    EXPECT_EQ(editor.editText(), "B-12__-cd.5_.__-____");
    EXPECT_EQ(editor.cursor(), 13);
    EXPECT_EQ(exitPosition(), -1);
    EXPECT_EQ(editor.text(), "B-12  -cd.5 .  -    ");
}

TEST_F(MaskEditorTest, CompleteDecreeNumberReadsAllTwentyCharacters)
{
    start("!A-9999-AA.99.99-9999;1;_");
    editor.typeText("B1234CD56782020");
    EXPECT_EQ(editor.text(), "B-1234-CD.56.78-2020");
}

TEST_F(MaskEditorTest, TmtKeepsTheLastTwoYearDigits)
{
    start("!99/99/00;1;_", "05/08/2024");
    EXPECT_EQ(editor.editText(), "05/08/24");
    EXPECT_EQ(editor.text(), "05/08/24");
    editor.setText("");
    editor.enter();
    editor.typeText("0508");
    EXPECT_EQ(exitPosition(), 6);
}

TEST_F(MaskEditorTest, TransferNipFromTheFirstPosition)
{
    start("!99999999999;1;_");
    editor.typeText("12345");
    EXPECT_EQ(editor.text(), "12345      ");
    EXPECT_EQ(exitPosition(), -1);
}

TEST_F(MaskEditorTest, TwoSectionMaskDoesNotSaveLiterals)
{
    start("99-99;0");
    editor.typeText("123");
    EXPECT_EQ(editor.editText(), "12-3_");
    EXPECT_EQ(editor.text(), "123");
    editor.setText("123456");
    EXPECT_EQ(editor.editText(), "12-34") << "the edit text keeps its width";
}

TEST_F(MaskEditorTest, ShortMaskHasNoSections)
{
    start("0;0");
    EXPECT_EQ(editor.editText(), "_;_");
    editor.typeText(";");
    EXPECT_EQ(editor.cursor(), 2);
    editor.typeText("2");
    editor.moveCursor(0);
    editor.typeText("1");
    EXPECT_EQ(editor.editText(), "1;2");
    EXPECT_EQ(editor.text(), "1;2");
    EXPECT_EQ(editor.beepCount(), 0);
}

TEST_F(MaskEditorTest, CaseDirectives)
{
    start(">LL<>LL<L;1;_");
    editor.typeText("ab\u00E9dE");
    EXPECT_EQ(editor.editText(), "AB\u00E9de");
    start(">CC;1;_");
    editor.typeText("1\u0436");
    EXPECT_EQ(editor.editText(), "1\u0416");
}

TEST_F(MaskEditorTest, AccentedLettersAreLetters)
{
    start("LLL;1;_");
    editor.typeText("\u00F1\u03B1\u0436");
    EXPECT_EQ(editor.editText(), "\u00F1\u03B1\u0436");
    EXPECT_EQ(editor.beepCount(), 0);
    editor.moveCursor(0);
    editor.typeText("1");
    EXPECT_EQ(editor.beepCount(), 1);
}

TEST_F(MaskEditorTest, DeleteAndBackspaceBlankWithoutShifting)
{
    start("!99/99/9999;1;_", "12/05/1970");
    editor.moveCursor(4);
    editor.pressKey(Key::Delete);
    EXPECT_EQ(editor.editText(), "12/0_/1970");
    EXPECT_EQ(editor.cursor(), 4);
    editor.pressKey(Key::Backspace);
    EXPECT_EQ(editor.editText(), "12/__/1970");
    EXPECT_EQ(editor.cursor(), 3);
    editor.pressKey(Key::Backspace);
    EXPECT_EQ(editor.editText(), "1_/__/1970");
    EXPECT_EQ(editor.cursor(), 1) << "Backspace skips the literal";
    editor.moveCursor(0);
    editor.pressKey(Key::Backspace);
    EXPECT_EQ(editor.editText(), "1_/__/1970");
    EXPECT_EQ(editor.cursor(), 0);
    editor.moveCursor(2);
    editor.pressKey(Key::Delete);
    EXPECT_EQ(editor.editText(), "1_/__/1970") << "a literal stays";
}

TEST_F(MaskEditorTest, DeletingASelectionKeepsLiterals)
{
    start("!99/99/9999;1;_", "12/05/1970");
    editor.moveCursor(2);
    editor.moveCursor(7, true);
    editor.pressKey(Key::Delete);
    EXPECT_EQ(editor.editText(), "12/__/_970");
    EXPECT_EQ(editor.cursor(), 3);
    EXPECT_EQ(editor.selectionLength(), 0);
}

TEST_F(MaskEditorTest, TypingOverASelectionBlanksItFirst)
{
    start("0000000000;1;_", "1234567890");
    editor.moveCursor(2);
    editor.moveCursor(6, true);
    editor.typeText("x");
    EXPECT_EQ(editor.editText(), "12____7890");
    EXPECT_EQ(editor.beepCount(), 1);
    editor.moveCursor(0);
    editor.moveCursor(3, true);
    editor.typeText("9");
    EXPECT_EQ(editor.editText(), "9_____7890");
    EXPECT_EQ(editor.cursor(), 1);
}

TEST_F(MaskEditorTest, CutCopiesThenBlanks)
{
    start("!99/99/9999;1;_", "12/05/1970");
    editor.moveCursor(1);
    editor.moveCursor(4, true);
    EXPECT_EQ(editor.selectedText(), "2/0");
    EXPECT_EQ(editor.cut(), "2/0");
    EXPECT_EQ(editor.editText(), "1_/_5/1970");
    EXPECT_EQ(editor.cursor(), 1);
    editor.moveCursor(6);
    EXPECT_EQ(editor.cut(), "1") << "the block cursor's character";
    EXPECT_EQ(editor.editText(), "1_/_5/_970");
}

struct MoveCase {
    int from;
    Key key;
    int to;
};

class MaskEditorMoves : public testing::TestWithParam<MoveCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskEditorMoves, CursorKeysStepOverLiterals)
{
    MaskEditor editor;
    editor.setEditMask("!A-9999-AA.99.99-9999;1;_");
    editor.moveCursor(GetParam().from);
    EXPECT_TRUE(editor.pressKey(GetParam().key));
    EXPECT_EQ(editor.cursor(), GetParam().to);
    EXPECT_EQ(editor.selectionLength(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, MaskEditorMoves,
                         testing::Values(MoveCase{0, Key::Right, 2}, MoveCase{5, Key::Right, 7},
                                         MoveCase{19, Key::Right, 20}, MoveCase{20, Key::Right, 20},
                                         MoveCase{2, Key::Left, 0}, MoveCase{7, Key::Left, 5},
                                         MoveCase{0, Key::Left, 0}, MoveCase{20, Key::Left, 19},
                                         MoveCase{13, Key::Home, 0}, MoveCase{3, Key::End, 20}, MoveCase{3, Key::Up, 3},
                                         MoveCase{3, Key::Down, 3}));

TEST_F(MaskEditorTest, ShiftExtendsTheBlockCursor)
{
    start("0000000000;1;_", "1234567890");
    editor.moveCursor(3);
    editor.pressKey(Key::Right, true);
    EXPECT_EQ(editor.selectionStart(), 3);
    EXPECT_EQ(editor.selectionLength(), 2);
    editor.pressKey(Key::Right, false, true);
    EXPECT_EQ(editor.selectionLength(), 3);
    editor.moveCursor(3);
    editor.pressKey(Key::Left, true);
    EXPECT_EQ(editor.selectionStart(), 2);
    EXPECT_EQ(editor.selectionLength(), 2);
    editor.pressKey(Key::Right);
    EXPECT_EQ(editor.selectionLength(), 0);
}

TEST_F(MaskEditorTest, ClickOnALiteralThenType)
{
    start("!99/99/9999;1;_", "12/05/1970");
    editor.moveCursor(2);
    editor.typeText("7");
    EXPECT_EQ(editor.editText(), "12/05/1970");
    EXPECT_EQ(editor.cursor(), 3);
    EXPECT_EQ(editor.beepCount(), 0);
}

struct PasteCase {
    const char* mask;
    const char* start;
    int cursor;
    const char* clip;
    const char* edit;
    int cursorAfter;
};

class MaskEditorPaste : public testing::TestWithParam<PasteCase> {
protected:
    MaskTestSettings settings;
};

TEST_P(MaskEditorPaste, TriesEachCharacterAtItsPosition)
{
    const PasteCase& p = GetParam();
    MaskEditor editor;
    editor.setEditMask(p.mask);
    editor.setText(p.start);
    editor.moveCursor(p.cursor);
    editor.paste(p.clip);
    EXPECT_EQ(editor.editText(), p.edit);
    EXPECT_EQ(editor.cursor(), p.cursorAfter);
    EXPECT_EQ(editor.beepCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MaskEditorPaste,
    testing::Values(PasteCase{"!99/99/9999;1;_", "", 0, "12/05/1970", "12/05/1970", 10},
                    PasteCase{"!99/99/9999;1;_", "", 0, "12051970", "12/05/1970", 10},
                    PasteCase{"!99/99/9999;1;_", "", 3, "7", "__/7_/____", 4},
                    PasteCase{"0000000000;1;_", "", 0, "12.34", "12_34_____", 5},
                    PasteCase{"0000000000;1;_", "", 0, "123456789012345", "1234567890", 10},
                    PasteCase{"0000000000;1;_", "9999999999", 8, "12345", "9999999912", 10},
                    PasteCase{"0000000000;1;_", "", 0, "1\n2\t3", "1_2_3_____", 5},
                    PasteCase{"0000000000;1;_", "", 0,
                              "\xFF"
                              "1",
                              "_1________", 2},
                    PasteCase{"!A-9999-AA.99.99-9999;1;_", "", 0, "b-1-cd", "b-1___-__.__.__-____", 6},
                    PasteCase{">LL;1;_", "", 0, "\xC3\xA9z", "\xC3\x89Z", 2}),
    [](const testing::TestParamInfo<PasteCase>& info) { return "Case" + std::to_string(info.index); });

TEST_F(MaskEditorTest, PasteReplacesASelection)
{
    start("0000000000;1;_", "1234567890");
    editor.moveCursor(2);
    editor.moveCursor(8, true);
    editor.paste("7");
    EXPECT_EQ(editor.editText(), "127_____90");
    EXPECT_EQ(editor.cursor(), 3);
}

TEST_F(MaskEditorTest, EscapeRestoresTheOldValueWhileModified)
{
    start("0000000000;1;_", "123");
    EXPECT_FALSE(editor.claimsEscape());
    EXPECT_FALSE(editor.pressKey(Key::Escape));
    editor.typeText("99");
    EXPECT_TRUE(editor.modified());
    EXPECT_TRUE(editor.claimsEscape());
    EXPECT_TRUE(editor.typeChar(27));
    EXPECT_EQ(editor.editText(), "123_______");
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(exitPosition(), -1);
}

TEST_F(MaskEditorTest, OldValueSurvivesAFailedValidation)
{
    start("0000000000;1;_", "1234567890");
    editor.pressKey(Key::Delete);
    EXPECT_EQ(exitPosition(), 0);
    editor.enter();  // the focus comes back
    EXPECT_EQ(editor.oldValue(), "1234567890");
    editor.pressKey(Key::Escape);
    EXPECT_EQ(editor.editText(), "1234567890");
    EXPECT_EQ(exitPosition(), -1);
    editor.setText("5");
    editor.enter();
    EXPECT_EQ(editor.oldValue(), "5_________");
}

TEST_F(MaskEditorTest, EnteringRemembersTheEditText)
{
    start("0000000000;1;_", "1");
    editor.setEditText("42");
    EXPECT_EQ(editor.editText(), "42________");
    EXPECT_EQ(editor.oldValue(), "42________");
    editor.typeText("7");
    EXPECT_EQ(exitPosition(), 2);
    EXPECT_NE(editor.oldValue(), editor.editText());
}

TEST_F(MaskEditorTest, AsksBeforeEveryChangeAndObeysARefusal)
{
    int asked = 0;
    bool allow = false;
    editor.setModifyCheck([&] {
        ++asked;
        return allow;
    });
    start("0000000000;1;_", "1");
    editor.typeText("2");
    editor.pressKey(Key::Delete);
    editor.pressKey(Key::Backspace);
    editor.paste("3");
    EXPECT_EQ(editor.cut(), "");
    EXPECT_EQ(asked, 5);
    EXPECT_EQ(editor.editText(), "1_________");
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.beepCount(), 0);
    editor.pressKey(Key::Right);
    editor.pressKey(Key::Enter);
    EXPECT_EQ(asked, 5) << "moving and validating change nothing";
    allow = true;
    editor.typeText("2");
    EXPECT_EQ(editor.editText(), "12________");
}

TEST_F(MaskEditorTest, AnErrorOfTheModifyCheckPropagates)
{
    editor.setModifyCheck([]() -> bool { throw std::runtime_error("Cannot modify a read-only dataset"); });
    start("0000000000;1;_");
    EXPECT_THROW(editor.typeText("1"), std::runtime_error);
    EXPECT_EQ(editor.editText(), "__________");
}

TEST_F(MaskEditorTest, ReadOnlyTakesNoInput)
{
    start("0000000000;1;_", "1");
    editor.setReadOnly(true);
    editor.typeText("23");
    editor.paste("45");
    editor.pressKey(Key::Backspace);
    EXPECT_EQ(editor.editText(), "1_________");
    EXPECT_FALSE(editor.modified());
}

// A bound box is read-only until its modify check has begun the edit.
TEST_F(MaskEditorTest, ModifyCheckRunsBeforeTheReadOnlyTest)
{
    start("0000000000;1;_", "1");
    editor.setReadOnly(true);
    int asked = 0;
    editor.setModifyCheck([&] {
        ++asked;
        editor.setReadOnly(false);
        return true;
    });
    editor.moveCursor(1);
    editor.typeText("2");
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(editor.editText(), "12________");
}

TEST_F(MaskEditorTest, ChangeHandlerFollowsTheEditText)
{
    start("0000000000;1;_", "1");
    int changes = 0;
    editor.setChangeHandler([&] { ++changes; });
    editor.typeText("2");
    editor.typeText("x");
    editor.pressKey(Key::Right);
    EXPECT_EQ(changes, 1);
    editor.setText("2");
    EXPECT_EQ(changes, 1) << "same edit text";
    editor.setText("3");
    EXPECT_EQ(changes, 2);
}

TEST_F(MaskEditorTest, NewMaskReformatsTheContent)
{
    editor.setText("12345");
    editor.setEditMask("0000000000;1;_");
    EXPECT_EQ(editor.editText(), "12345_____");
    EXPECT_EQ(editor.maxLength(), 10);
    editor.setEditMask("99-99;1;*");
    EXPECT_EQ(editor.editText(), "12-34");
    editor.setMaxLength(3);
    editor.setEditMask("");
    EXPECT_EQ(editor.editText(), "1234");
    EXPECT_EQ(editor.maxLength(), 0) << "a cleared mask leaves no limit";
    EXPECT_FALSE(editor.modified());
}

TEST_F(MaskEditorTest, ControlCharactersNeverReachTheEditText)
{
    start("CCCC;1;_");
    EXPECT_FALSE(editor.typeChar(U'\t'));
    EXPECT_FALSE(editor.typeChar(0x7F));
    editor.setText("a\nb");
    EXPECT_EQ(editor.editText(), "a_b_");
    editor.setEditText("\x01\x02xyz");
    EXPECT_EQ(editor.editText(), "__xy");
    EXPECT_EQ(editor.beepCount(), 0);
}

TEST_F(MaskEditorTest, ForeignTextIsPaddedOrCutToTheWidth)
{
    start("!99/99/9999;1;_");
    for (const char* value :
         {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80/", "\xC3", "--/--/--/--/--/--",
          "\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96\xD0\x96"}) {
        editor.setText(value);
        EXPECT_EQ(editor.edit().size(), 10u) << value;
        EXPECT_EQ(editor.edit()[2], U'/');
        EXPECT_EQ(editor.edit()[5], U'/');
        editor.setEditText(value);
        EXPECT_EQ(editor.edit().size(), 10u) << value;
        EXPECT_EQ(editor.edit()[5], U'/');
    }
}

// ---- the empty mask: a plain edit ----

TEST_F(MaskEditorTest, EmptyMaskIsAPlainEdit)
{
    start("", "abc");
    EXPECT_EQ(editor.cursor(), 3);
    editor.typeText("d");
    editor.pressKey(Key::Home);
    editor.typeText("<");
    EXPECT_EQ(editor.editText(), "<abcd");
    EXPECT_EQ(editor.text(), "<abcd");
    editor.pressKey(Key::Delete);
    EXPECT_EQ(editor.editText(), "<bcd");
    editor.pressKey(Key::Backspace);
    EXPECT_EQ(editor.editText(), "bcd");
    EXPECT_FALSE(editor.claimsEscape());
    EXPECT_FALSE(editor.pressKey(Key::Escape));
    EXPECT_FALSE(editor.pressKey(Key::Up));
    EXPECT_EQ(exitPosition(), -1);
}

TEST_F(MaskEditorTest, PlainEditRespectsMaxLength)
{
    start("");
    editor.setMaxLength(5);
    editor.typeText("abcdefg");
    EXPECT_EQ(editor.editText(), "abcde");
    editor.pressKey(Key::Home);
    editor.pressKey(Key::Right, true);
    editor.pressKey(Key::Right, true);
    editor.paste("XYZ\n");
    EXPECT_EQ(editor.editText(), "XYcde");
    EXPECT_EQ(editor.cursor(), 2);
    editor.selectAll();
    EXPECT_EQ(editor.cut(), "XYcde");
    EXPECT_EQ(editor.editText(), "");
}

TEST_F(MaskEditorTest, PlainEditWordMoves)
{
    start("", "one two  three");
    editor.pressKey(Key::Left, false, true);
    EXPECT_EQ(editor.cursor(), 9);
    editor.pressKey(Key::Left, true, true);
    EXPECT_EQ(editor.cursor(), 4);
    EXPECT_EQ(editor.selectedText(), "two  ");
    editor.pressKey(Key::Home);
    editor.pressKey(Key::Right, false, true);
    EXPECT_EQ(editor.cursor(), 4);
}

}  // namespace
