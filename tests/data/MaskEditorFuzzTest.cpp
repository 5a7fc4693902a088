#include "MaskEditor.h"

#include "EDBEditError.h"
#include "MaskTestSettings.h"
#include "UnicodeText.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Key = MaskEditor::Key;

// Random masks and random input must keep the editor's invariants: the edit
// text has exactly one character per position, literals stay, the cursor and
// the anchor stay within the text, no control character gets in.
class MaskEditorFuzz : public testing::Test {
protected:
    std::string pick(const std::vector<std::string>& pieces, int count)
    {
        std::string out;
        for (int i = 0; i < count; ++i)
            out += pieces[random() % pieces.size()];
        return out;
    }
    int number(int below) { return static_cast<int>(random() % static_cast<unsigned>(below)); }

    void checkInvariants(const MaskEditor& editor, const std::string& context)
    {
        const EditMask& mask = editor.mask();
        const std::u32string& edit = editor.edit();
        const int limit = editor.isMasked() ? mask.width() : static_cast<int>(edit.size());
        ASSERT_GE(editor.cursor(), 0) << context;
        ASSERT_LE(editor.cursor(), limit) << context;
        ASSERT_LE(editor.selectionStart() + editor.selectionLength(), limit) << context;
        if (!editor.isMasked()) {
            // Typing and pasting never grow a plain text past its limit.
            if (editor.maxLength() > 0) {
                ASSERT_LE(static_cast<int>(edit.size()), std::max(editor.maxLength(), startLength)) << context;
            }
            return;
        }
        ASSERT_EQ(static_cast<int>(edit.size()), mask.width()) << context;
        for (int pos = 0; pos < mask.width(); ++pos) {
            if (mask.isLiteral(pos))
                ASSERT_EQ(edit[pos], mask.position(pos).literal) << context << " at " << pos;
            else
                ASSERT_FALSE(UnicodeText::isControl(edit[pos])) << context << " at " << pos;
        }
        ASSERT_EQ(UnicodeText::fromUtf8(editor.editText()), edit) << context;
    }

    void step(MaskEditor& editor, std::string& log)
    {
        static const std::vector<std::string> typed = {"0",    "7",  "a",        "Z",        " ",
                                                       "-",    ".",  "/",        ":",        ";",
                                                       "_",    "+",  "\xC3\xA9", "\xD0\x96", "\xF0\x9F\x98\x80",
                                                       "\x1B", "\r", "\x08",     "\t",       "\xFF"};
        switch (number(8)) {
        case 0:
        case 1:
        case 2: {
            const std::string c = pick(typed, 1);
            log += "type;";
            editor.typeText(c);
            break;
        }
        case 3: {
            const Key key = static_cast<Key>(number(10));
            log += "key" + std::to_string(static_cast<int>(key)) + ";";
            editor.pressKey(key, number(3) == 0, number(4) == 0);
            break;
        }
        case 4:
            log += "paste;";
            editor.paste(pick(typed, number(30)));
            break;
        case 5:
            log += "cut;";
            editor.cut();
            break;
        case 6:
            log += "click;";
            editor.moveCursor(number(40) - 5, number(2) == 0);
            break;
        default:
            log += "focus;";
            if (number(2) == 0)
                editor.enter();
            else
                editor.exit();
            break;
        }
    }

    MaskTestSettings settings;
    std::mt19937 random{20240611};
    int startLength = 0;
    int steps = 0;
    int masked = 0;
};

TEST_F(MaskEditorFuzz, RandomMasksAndKeysKeepTheInvariants)
{
    static const std::vector<std::string> maskPieces = {"0",  "9",  "#", "L",  "l",  "A", "a",        "C",   "c",
                                                        "!",  ">",  "<", "<>", "\\", "/", ":",        ";",   ";1",
                                                        ";0", ";_", "-", ".",  " ",  "x", "\xC3\xA9", "\xFF"};
    for (int round = 0; round < 1500; ++round) {
        MaskEditor editor;
        const std::string maskText = pick(maskPieces, number(14));
        editor.setEditMask(maskText);
        editor.setMaxLength(number(6));
        editor.setText(pick(maskPieces, number(20)));
        startLength = static_cast<int>(editor.edit().size());
        std::string log = "mask \"" + maskText + "\": ";
        checkInvariants(editor, log);
        masked += editor.isMasked() ? 1 : 0;
        for (int i = 0; i < 120; ++i) {
            try {
                step(editor, log);
            } catch (const EDBEditError& error) {
                ASSERT_EQ(error.position(), editor.cursor()) << log;
                ASSERT_TRUE(editor.reEnter()) << log;
            }
            checkInvariants(editor, log);
            if (HasFatalFailure())
                return;
            ++steps;
        }
    }
    EXPECT_EQ(steps, 1500 * 120);
    EXPECT_GT(masked, 1000) << "most rounds should have a mask";
}

}  // namespace
