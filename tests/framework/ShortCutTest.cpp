#include "ShortCut.h"

#include <gtest/gtest.h>

struct ShortCutCase {
    std::uint16_t value;
    const char* text;
    QKeySequence keys;
};

class ShortCutTest : public ::testing::TestWithParam<ShortCutCase> {};

TEST_P(ShortCutTest, TextAndKeysFromTheValue)
{
    EXPECT_EQ(ShortCut::text(GetParam().value).toStdString(), GetParam().text);
    EXPECT_EQ(ShortCut::keys(GetParam().value), GetParam().keys);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ShortCutTest,
    ::testing::Values(ShortCutCase{16464, "Ctrl+P", QKeySequence(Qt::CTRL | Qt::Key_P)},
                      ShortCutCase{49232, "Ctrl+Alt+P", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P)},
                      ShortCutCase{0x2000 | 0x4000 | 0x8000 | 'Z', "Shift+Ctrl+Alt+Z",
                                   QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_Z)},
                      ShortCutCase{0x2000 | 0x71, "Shift+F2", QKeySequence(Qt::SHIFT | Qt::Key_F2)},
                      ShortCutCase{0x8000 | '7', "Alt+7", QKeySequence(Qt::ALT | Qt::Key_7)},
                      ShortCutCase{0x4000 | 0x2E, "Ctrl+Del", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
                      ShortCutCase{0x1B, "Esc", QKeySequence(Qt::Key_Escape)}, ShortCutCase{0, "", QKeySequence()},
                      ShortCutCase{0x4000 | 0xFF, "", QKeySequence()}));
