#include "KeyWalk.h"
#include "StartedProgram.h"
#include "TForm1.h"
#include "TForm2.h"
#include "TForm3.h"
#include "TForm6.h"
#include "TForm7.h"

#include <QPushButton>

// The record and search windows open from the menu window by their
// short-cuts and close by "Tutup" with keys alone; the clerk is back in the
// menu window. Handing the activation back is the window manager's work:
// offscreen the menu window is left the one window shown; under a window
// manager (QT_QPA_PLATFORM=xcb on a display running openbox) it is active.
namespace {

struct KeyedWindow {
    const char* name;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QWidget* (*window)();
    QAbstractButton* (*tutup)();
};

const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;

const KeyedWindow windows[] = {
    {"Employees", Qt::Key_P, ctrl, []() -> QWidget* { return Form2; },
     []() -> QAbstractButton* { return Form2->Button7; }},
    {"Transfers", Qt::Key_M, ctrl, []() -> QWidget* { return Form3; },
     []() -> QAbstractButton* { return Form3->Button7; }},
    {"EmployeeSearch", Qt::Key_P, ctrlAlt, []() -> QWidget* { return Form6; },
     []() -> QAbstractButton* { return Form6->Button1; }},
    {"TransferSearch", Qt::Key_M, ctrlAlt, []() -> QWidget* { return Form7; },
     []() -> QAbstractButton* { return Form7->Button1; }},
};

class MenuKeyboard : public StartedProgram, public ::testing::WithParamInterface<KeyedWindow> {};

TEST_P(MenuKeyboard, ShortCutOpensTheWindowAndTutupByKeysReturnsToTheMenu)
{
    const KeyedWindow& w = GetParam();
    activate(Form1);
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(Form1, w.key, w.modifiers);
    QWidget* window = w.window();
    ASSERT_TRUE(window->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_NE(focused(), nullptr);
    EXPECT_EQ(focused()->window(), window);
    press(w.tutup());
    EXPECT_FALSE(window->isVisible());
    QWidgetList shown;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible())
            shown << w;
    EXPECT_EQ(shown, QWidgetList{Form1});
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
        EXPECT_TRUE(QTest::qWaitForWindowActive(Form1));
        EXPECT_EQ(QApplication::activeWindow(), Form1);
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, MenuKeyboard, ::testing::ValuesIn(windows),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
