#include "ModalBoxResponder.h"
#include "RecordWindowFixture.h"
#include "TDBNavigator.h"
#include "TNavButton.h"

// An entry the window puts the focus into shows its blank characters as
// one the clerk tabbed into does, and a button whose click an entry
// refused is not left drawn pressed.
namespace {

struct FocusWindow {
    const char* name;
    bool employee;
};

std::ostream& operator<<(std::ostream& os, const FocusWindow& w)
{
    return os << w.name;
}

class EntryFocus : public RecordWindowFixture, public ::testing::WithParamInterface<FocusWindow> {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        showAndActivate(form());
    }
    RecordWindow& form() { return GetParam().employee ? static_cast<RecordWindow&>(*form2) : *form3; }
};

TEST_P(EntryFocus, TheComplaintAndARefusedMoveShowTheBlanksOfTheEntryTheyFocus)
{
    click(form().Button1);
    const QString blankKey = form().entry(1)->editText();
    ASSERT_TRUE(blankKey.startsWith(QStringLiteral("_"))) << blankKey.toStdString();
    typeInto(form().entry(3), QStringLiteral("Baru"));
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        QTest::mouseClick(form().DBNavigator1->button(nbFirst), Qt::LeftButton);
        ASSERT_EQ(responder.boxes().size(), 1);
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    EXPECT_EQ(QApplication::focusWidget(), form().entry(1));
    EXPECT_EQ(form().entry(1)->editText(), blankKey);

    // The complaint: the first empty entry is the place of birth, the
    // origin in the transfer window.
    typeInto(form().entry(1), GetParam().employee ? QStringLiteral("1999090909") : QStringLiteral("Z9999ZZ01012001"));
    typeInto(form().entry(2), GetParam().employee ? QStringLiteral("44444444") : QStringLiteral("19990909099"));
    const int dateEntry = GetParam().employee ? 5 : 6;
    typeInto(form().entry(dateEntry), QString());
    const QString blankDate = form().entry(dateEntry)->editText();
    typeInto(form().entry(4), QString());
    {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(form().Button3);
        ASSERT_EQ(responder.boxes().size(), 1);
    }
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    EXPECT_EQ(QApplication::focusWidget(), form().entry(4));
    EXPECT_EQ(form().entry(dateEntry)->editText(), blankDate);
    EXPECT_TRUE(blankDate.contains(QStringLiteral("__/__"))) << blankDate.toStdString();
}

TEST_P(EntryFocus, AButtonWhoseClickAnEntryRefusedIsNotLeftPressed)
{
    click(form().Button1);
    typeInto(form().entry(1), QStringLiteral("123"));  // the key's mask wants more
    for (QPushButton* button : {form().Button2, form().Button3}) {
        ModalBoxResponder responder;
        responder.click(QStringLiteral("OK"));
        click(button);
        ASSERT_EQ(responder.boxes().size(), 1) << button->text().toStdString();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
        EXPECT_FALSE(button->isDown()) << button->text().toStdString();
        EXPECT_EQ(QApplication::focusWidget(), form().entry(1));
    }
    EXPECT_EQ(form().table()->State(), TDataSetState::dsInsert);
}

INSTANTIATE_TEST_SUITE_P(Windows, EntryFocus,
                         ::testing::Values(FocusWindow{"Employee", true}, FocusWindow{"Transfer", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
