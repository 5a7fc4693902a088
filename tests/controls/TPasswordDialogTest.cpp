#include "TPasswordDialog.h"
#include "ModalBoxResponder.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class PasswordDialog : public ::testing::Test {
protected:
    PasswordList passwords;
    TPasswordDialog dialog{passwords};

    QLineEdit* edit() { return dialog.findChild<QLineEdit*>(QStringLiteral("Edit")); }
    QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(QString::fromUtf8(name)); }
    void type(const char* text)
    {
        edit()->clear();
        QTest::keyClicks(edit(), QString::fromUtf8(text));
    }
};

}  // namespace

TEST_F(PasswordDialog, ShowsTheEntryAsStarsInThePasswordGroupWithItsButtons)
{
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Enter password"));
    auto* group = dialog.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), QStringLiteral("Password"));
    ASSERT_NE(edit(), nullptr);
    EXPECT_EQ(edit()->parentWidget(), group);
    EXPECT_EQ(edit()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(edit()->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, edit()), '*');
    const std::pair<const char*, const char*> captions[] = {{"AddButton", "&Add"},
                                                            {"RemoveButton", "&Remove"},
                                                            {"RemoveAllButton", "Re&move all"},
                                                            {"OKButton", "&OK"},
                                                            {"CancelButton", "Cancel"}};
    for (const auto& [name, caption] : captions) {
        ASSERT_NE(button(name), nullptr) << name;
        EXPECT_EQ(button(name)->text(), QString::fromUtf8(caption));
    }
}

TEST_F(PasswordDialog, OkIsEnabledOnceTextIsTypedOrAPasswordWasAdded)
{
    EXPECT_FALSE(button("OKButton")->isEnabled());
    type("mawar");
    EXPECT_TRUE(button("OKButton")->isEnabled());
    edit()->clear();
    EXPECT_FALSE(button("OKButton")->isEnabled());
    type("mawar");
    QTest::mouseClick(button("AddButton"), Qt::LeftButton);
    EXPECT_TRUE(edit()->text().isEmpty());
    EXPECT_TRUE(button("OKButton")->isEnabled());
}

TEST_F(PasswordDialog, AddRemoveAndRemoveAllChangeTheSessionList)
{
    type("mawar");
    QTest::mouseClick(button("AddButton"), Qt::LeftButton);
    type("melati");
    QTest::mouseClick(button("AddButton"), Qt::LeftButton);
    type("mawar");
    QTest::mouseClick(button("AddButton"), Qt::LeftButton);  // once only
    EXPECT_EQ(passwords.entries(), (std::vector<std::string>{"mawar", "melati"}));
    type("mawar");
    QTest::mouseClick(button("RemoveButton"), Qt::LeftButton);
    EXPECT_EQ(passwords.entries(), std::vector<std::string>{"melati"});
    QTest::mouseClick(button("RemoveAllButton"), Qt::LeftButton);
    EXPECT_TRUE(passwords.empty());
}

TEST(PasswordDialogShown, OkAddsTheTypedPasswordAndCancelGivesUp)
{
    PasswordList passwords;
    ModalBoxResponder responder;
    using Step = ModalBoxResponder::Step;
    responder.steps({{Step::Key, QString(), Qt::Key_K},
                     {Step::Key, QString(), Qt::Key_E},
                     {Step::Key, QString(), Qt::Key_Y},
                     {Step::Click, QStringLiteral("OKButton")}});
    EXPECT_TRUE(TPasswordDialog::execute(passwords));
    EXPECT_EQ(passwords.entries(), std::vector<std::string>{"key"});

    responder.steps({{Step::Key, QString(), Qt::Key_X}, {Step::Click, QStringLiteral("CancelButton")}});
    EXPECT_FALSE(TPasswordDialog::execute(passwords));
    EXPECT_EQ(passwords.entries(), std::vector<std::string>{"key"});
    EXPECT_EQ(responder.boxes().size(), 2);
    EXPECT_EQ(responder.last().caption, QStringLiteral("Enter password"));
}
