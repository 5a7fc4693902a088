#include "ModalBoxResponder.h"
#include "StartedProgram.h"
#include "TForm1.h"
#include "TForm12.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {
const QString wrongPassword = QStringLiteral("Maaf .... ! Password Yang Anda Masukkan Salah. Silahkan coba Lagi ... !");

struct PasswordCase {
    const char* name;
    const char* typed;
    bool accepted;
};

std::ostream& operator<<(std::ostream& os, const PasswordCase& c)
{
    return os << c.name;
}
}  // namespace

class LoginPasswordTest : public StartedProgram, public ::testing::WithParamInterface<PasswordCase> {};

TEST_P(LoginPasswordTest, OnlyTheExactStoredTextOpensTheMenu)
{
    activate(Form12);
    QTest::keyClicks(Form12->Edit1, QString::fromUtf8(GetParam().typed));
    ASSERT_EQ(Form12->Edit1->text(), QString::fromUtf8(GetParam().typed));
    ModalBoxResponder responder;
    if (!GetParam().accepted)
        responder.click(QStringLiteral("OK"));
    QTest::mouseClick(Form12->Button1, Qt::LeftButton);

    EXPECT_EQ(Form1->isVisible(), GetParam().accepted);
    EXPECT_EQ(Form12->isVisible(), !GetParam().accepted);
    EXPECT_TRUE(Form12->Edit1->text().isEmpty());
    if (GetParam().accepted) {
        EXPECT_TRUE(responder.boxes().isEmpty());
    } else {
        ASSERT_EQ(responder.boxes().size(), 1);
        const ModalBoxRecord& box = responder.last();
        EXPECT_EQ(box.text, wrongPassword);
        EXPECT_EQ(box.caption.toStdString(), "test_app");
        EXPECT_FALSE(box.hasIcon);
        EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_EQ(Form12->focusWidget(), Form12->Edit1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Passwords, LoginPasswordTest,
    ::testing::Values(PasswordCase{"Stored", "mawar", true}, PasswordCase{"TrailingSpace", "mawar ", false},
                      PasswordCase{"LeadingSpace", " mawar", false}, PasswordCase{"CapitalFirstLetter", "Mawar", false},
                      PasswordCase{"AllCapitals", "MAWAR", false}, PasswordCase{"Prefix", "mawa", false},
                      PasswordCase{"Longer", "mawarr", false}, PasswordCase{"Empty", "", false}),
    [](const auto& info) { return std::string(info.param.name); });

using Login = StartedProgram;

TEST_F(Login, EntryShowsStarsAndControlsFollowTheTabOrder)
{
    EXPECT_EQ(Form12->windowTitle().toStdString(), "Form Login");
    EXPECT_EQ(Form12->outerRect(), QRect(309, 155, 309, 137));
    EXPECT_EQ(Form12->font().family().toStdString(), "Liberation Serif");
    EXPECT_EQ(Form12->font().pixelSize(), 13);
    EXPECT_EQ(Form12->Edit1->echoMode(), QLineEdit::Password);
    EXPECT_EQ(Form12->Edit1->geometry(), QRect(88, 16, 185, 23));
    EXPECT_EQ(Form12->Button1->geometry(), QRect(24, 72, 75, 25));
    EXPECT_EQ(Form12->Button2->geometry(), QRect(112, 72, 75, 25));
    EXPECT_EQ(Form12->Button3->geometry(), QRect(200, 72, 75, 25));
    EXPECT_EQ(Form12->Button1->text().toStdString(), "Masuk");
    EXPECT_EQ(Form12->Button2->text().toStdString(), "Batal");
    EXPECT_EQ(Form12->Button3->text().toStdString(), "Tutup");
    EXPECT_EQ(Form12->Label1->text().toStdString(), "Password");
    EXPECT_EQ(Form12->Label1->pos(), QPoint(24, 24));

    activate(Form12);
    Form12->Edit1->setFocus();
    const std::vector<QWidget*> order = {Form12->Button1, Form12->Button2, Form12->Button3, Form12->Edit1};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
    }
}

TEST_F(Login, EnterAndEscapeInTheEntryDoNothing)
{
    activate(Form12);
    Form12->Edit1->setFocus();
    QTest::keyClicks(Form12->Edit1, QStringLiteral("mawar"));
    ModalBoxResponder responder;  // any box would fail the test
    QTest::keyClick(Form12->Edit1, Qt::Key_Return);
    QTest::keyClick(Form12->Edit1, Qt::Key_Enter);
    QTest::keyClick(Form12->Edit1, Qt::Key_Escape);
    EXPECT_FALSE(Form1->isVisible());
    EXPECT_TRUE(Form12->isVisible());
    EXPECT_EQ(Form12->Edit1->text().toStdString(), "mawar");
}

TEST_F(Login, BatalEmptiesAndFocusesTheEntryOnly)
{
    activate(Form12);
    QTest::keyClicks(Form12->Edit1, QStringLiteral("salah"));
    Form12->Button2->setFocus();
    QTest::mouseClick(Form12->Button2, Qt::LeftButton);
    EXPECT_TRUE(Form12->Edit1->text().isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), Form12->Edit1);
    EXPECT_TRUE(Form12->isVisible());
    EXPECT_FALSE(Form1->isVisible());
}

TEST_F(Login, WrongPasswordCanBeRetriedWithoutLimit)
{
    activate(Form12);
    ModalBoxResponder responder;
    for (int i = 0; i < 5; ++i) {
        responder.click(QStringLiteral("OK"));
        QTest::keyClicks(Form12->Edit1, QStringLiteral("salah"));
        QTest::mouseClick(Form12->Button1, Qt::LeftButton);
    }
    QTest::keyClicks(Form12->Edit1, QStringLiteral("mawar"));
    QTest::mouseClick(Form12->Button1, Qt::LeftButton);
    EXPECT_EQ(responder.boxes().size(), 5);
    EXPECT_TRUE(Form1->isVisible());
}
