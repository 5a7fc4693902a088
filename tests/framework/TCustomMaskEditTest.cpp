#include "TCustomMaskEdit.h"

#include "CatchingApplication.h"
#include "RegionalSettings.h"

#include <QClipboard>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

const char* const invalidInput = "Invalid input value.  Use escape key to abandon changes";

// A window with two edits, shown and active, the first one focused.
class MaskEditWidget : public testing::Test {
protected:
    void SetUp() override
    {
        app.takeErrors();
        saved = RegionalSettings::current();
        RegionalSettings::current().dateSeparator = '/';
        first = new TCustomMaskEdit(&window);
        second = new TCustomMaskEdit(&window);
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(first);
        layout->addWidget(second);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void TearDown() override { RegionalSettings::current() = saved; }

    void focusFirst(const QString& mask, const QString& text)
    {
        first->setEditMask(mask);
        first->setText(text);
        first->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), first);
    }
    std::vector<std::string> errors() { return app.takeErrors(); }

    CatchingApplication& app = CatchingApplication::instance();  // before any widget
    RegionalSettings saved;
    QWidget window;
    TCustomMaskEdit* first = nullptr;
    TCustomMaskEdit* second = nullptr;
};

TEST_F(MaskEditWidget, TypingGoesThroughTheMask)
{
    focusFirst(QStringLiteral("0000000000;1;_"), QString());
    QSignalSpy changes(first, &TCustomMaskEdit::changed);
    QTest::keyClicks(first, QStringLiteral("12a3"));
    EXPECT_EQ(first->editText(), QStringLiteral("123_______"));
    EXPECT_EQ(first->text(), QStringLiteral("123       "));
    EXPECT_EQ(first->cursorPosition(), 3);
    EXPECT_EQ(first->editor().beepCount(), 1);
    EXPECT_EQ(changes.count(), 3);
    EXPECT_TRUE(first->isModified());
    EXPECT_EQ(first->maxLength(), 10);
}

TEST_F(MaskEditWidget, KeysMoveOverLiteralsAndDelete)
{
    focusFirst(QStringLiteral("!99/99/9999;1;_"), QStringLiteral("12/05/1970"));
    QTest::keyClick(first, Qt::Key_Right);
    QTest::keyClick(first, Qt::Key_Right);
    EXPECT_EQ(first->cursorPosition(), 3);
    QTest::keyClick(first, Qt::Key_Backspace);
    EXPECT_EQ(first->editText(), QStringLiteral("1_/05/1970"));
    QTest::keyClick(first, Qt::Key_End);
    QTest::keyClick(first, Qt::Key_Left);
    QTest::keyClick(first, Qt::Key_Delete);
    EXPECT_EQ(first->editText(), QStringLiteral("1_/05/197_"));
}

TEST_F(MaskEditWidget, EscapeRestoresTheOldValueAndIsClaimedOnlyWhileModified)
{
    int cancels = 0;
    QShortcut cancel(QKeySequence(Qt::Key_Escape), &window);
    QObject::connect(&cancel, &QShortcut::activated, [&] { ++cancels; });
    focusFirst(QStringLiteral("0000000000;1;_"), QStringLiteral("123"));
    QTest::keyClicks(first, QStringLiteral("99"));
    EXPECT_EQ(first->editText(), QStringLiteral("993_______"));
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_EQ(first->editText(), QStringLiteral("123_______"));
    EXPECT_FALSE(first->isModified());
    EXPECT_EQ(cancels, 0);
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_EQ(cancels, 1) << "an unmodified box leaves Escape to the window";
}

TEST_F(MaskEditWidget, FocusStaysAfterAFailedValidation)
{
    focusFirst(QStringLiteral("0000000000;1;_"), QString());
    QTest::keyClicks(first, QStringLiteral("123456789"));
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(errors(), std::vector<std::string>{invalidInput});
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(first->cursorPosition(), 9);
    EXPECT_EQ(first->editor().beepCount(), 1);
    QTest::keyClick(first, Qt::Key_Escape);
    EXPECT_EQ(first->editText(), QStringLiteral("__________")) << "the value before the failed attempt";
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_TRUE(errors().empty());
}

TEST_F(MaskEditWidget, CompletedTextLetsTheFocusGo)
{
    focusFirst(QStringLiteral("0000000000;1;_"), QString());
    QTest::keyClicks(first, QStringLiteral("123456789"));
    second->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), first);
    QTest::keyClicks(first, QStringLiteral("0"));
    second->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_EQ(errors(), std::vector<std::string>{invalidInput});
    EXPECT_EQ(first->text(), QStringLiteral("1234567890"));
}

namespace {
// Counts the Enter presses that reach a window, as its default button would.
struct EnterCounter : QObject {
    int presses = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return)
            ++presses;
        return false;
    }
};
}  // namespace

TEST_F(MaskEditWidget, EnterValidates)
{
    EnterCounter window_;
    window.installEventFilter(&window_);
    focusFirst(QStringLiteral("!99/99/00;1;_"), QString());
    QTest::keyClicks(first, QStringLiteral("1"));
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(errors(), std::vector<std::string>{invalidInput});
    EXPECT_EQ(first->cursorPosition(), 6);
    EXPECT_EQ(QApplication::focusWidget(), first);
    EXPECT_EQ(window_.presses, 0) << "a failed check uses the key up";
    QTest::keyClicks(first, QStringLiteral("20670"));
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_TRUE(errors().empty());
    EXPECT_EQ(window_.presses, 1) << "a valid entry leaves Enter to the window";
}

TEST_F(MaskEditWidget, PasteAndCutUseTheClipboard)
{
    focusFirst(QStringLiteral("!99/99/9999;1;_"), QString());
    QGuiApplication::clipboard()->setText(QStringLiteral("12051970"));
    QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(first->editText(), QStringLiteral("12/05/1970"));
    QTest::keyClick(first, Qt::Key_Home);
    QTest::keyClick(first, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(first, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12"));
    EXPECT_EQ(first->editText(), QStringLiteral("__/05/1970"));
}

TEST_F(MaskEditWidget, ClickPlacesTheCursorOnACharacter)
{
    focusFirst(QStringLiteral("!99/99/9999;1;_"), QStringLiteral("12/05/1970"));
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(first->width() - 2, first->height() / 2));
    EXPECT_EQ(first->cursorPosition(), 9);
    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(1, first->height() / 2));
    EXPECT_EQ(first->cursorPosition(), 0);
    QTest::keyClicks(first, QStringLiteral("3"));
    EXPECT_EQ(first->editText(), QStringLiteral("32/05/1970"));
}

TEST_F(MaskEditWidget, EmptyMaskIsAPlainEdit)
{
    first->setMaxLength(5);
    focusFirst(QString(), QStringLiteral("abc"));
    QTest::keyClick(first, Qt::Key_End);
    QTest::keyClicks(first, QStringLiteral("d"));
    QTest::sendKeyEvent(QTest::Click, first, Qt::Key_unknown, QStringLiteral("\u00E9"), Qt::NoModifier);
    QTest::keyClicks(first, QStringLiteral("f"));
    QTest::keyClick(first, Qt::Key_Home);
    QTest::keyClick(first, Qt::Key_Delete);
    EXPECT_EQ(first->editText(), QStringLiteral("bcd\u00E9"));
    EXPECT_EQ(first->text(), first->editText());
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), second);
    EXPECT_TRUE(errors().empty());
}

// A box whose owner refuses changes, as a bound edit on a read-only table.
class RefusingEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
    int asked = 0;

protected:
    bool canModify() override
    {
        ++asked;
        return false;
    }
};

TEST_F(MaskEditWidget, AsksItsOwnerBeforeChanging)
{
    auto* refusing = new RefusingEdit(&window);
    window.layout()->addWidget(refusing);
    refusing->show();
    refusing->setEditMask(QStringLiteral("0000000000;1;_"));
    refusing->setText(QStringLiteral("1"));
    refusing->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(refusing, QStringLiteral("23"));
    QTest::keyClick(refusing, Qt::Key_Delete);
    EXPECT_EQ(refusing->asked, 3);
    EXPECT_EQ(refusing->editText(), QStringLiteral("1_________"));
    EXPECT_EQ(refusing->editor().beepCount(), 0);
}

// A box whose owner fails when the focus leaves, as a bound edit whose
// field refuses the text.
class FailingExitEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;

protected:
    void doExit() override { throw std::runtime_error("'  /  /    ' is not a valid date"); }
};

TEST_F(MaskEditWidget, AnyErrorOnLeavingKeepsTheFocus)
{
    auto* failing = new FailingExitEdit(&window);
    window.layout()->addWidget(failing);
    failing->show();
    failing->setFocus(Qt::TabFocusReason);
    second->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(QApplication::focusWidget(), failing);
    EXPECT_EQ(errors(), std::vector<std::string>{"'  /  /    ' is not a valid date"});
}

}  // namespace
