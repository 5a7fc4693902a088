#include "ApplicationTitle.h"
#include "BoxFlags.h"
#include "MessageBoxes.h"
#include "ModalBoxResponder.h"
#include "TMessageForm.h"
#include "WindowFonts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <gtest/gtest.h>

namespace {
using Step = ModalBoxResponder::Step;
using B = MessageButton;

const QString hapus = QStringLiteral("Apakah Benar Data Ini Ingin Dihapus ?");

struct AnswerCase {
    const char* name;
    MessageDialogType type;
    MessageButtons buttons;
    std::vector<Step> answer;
    int result;
    bool leftOpen;
};

std::ostream& operator<<(std::ostream& os, const AnswerCase& c)
{
    return os << c.name;
}

Step key(int k, Qt::KeyboardModifiers m = Qt::NoModifier)
{
    return {Step::Key, QString(), k, m};
}

Step click(const char* name)
{
    return {Step::Click, QString::fromLatin1(name)};
}
}  // namespace

class MessageDialogAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(MessageDialogAnswerTest, ResultOfTheAnswer)
{
    ModalBoxResponder responder;
    responder.steps(GetParam().answer);
    const int result = MessageDlg(QStringLiteral("Question"), GetParam().type, GetParam().buttons);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().leftOpen, GetParam().leftOpen);
    if (!GetParam().leftOpen) {
        EXPECT_EQ(result, GetParam().result);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageDialogAnswerTest,
    ::testing::Values(
        AnswerCase{"YesButton", MessageDialogType::Confirmation, {B::Yes, B::No}, {click("Yes")}, 6, false},
        AnswerCase{"NoButton", MessageDialogType::Confirmation, {B::Yes, B::No}, {click("No")}, 7, false},
        AnswerCase{"EscapeIsNo", MessageDialogType::Confirmation, {B::Yes, B::No}, {key(Qt::Key_Escape)}, 7, false},
        AnswerCase{"EnterPressesFocusedFirstButton",
                   MessageDialogType::Confirmation,
                   {B::Yes, B::No},
                   {key(Qt::Key_Return)},
                   6,
                   false},
        AnswerCase{"CloseBoxGivesCancel",
                   MessageDialogType::Confirmation,
                   {B::Yes, B::No},
                   {{Step::CloseBox, QString()}},
                   2,
                   false},
        AnswerCase{"AcceleratorLetterN", MessageDialogType::Confirmation, {B::Yes, B::No}, {key(Qt::Key_N)}, 7, false},
        AnswerCase{"AcceleratorLetterY", MessageDialogType::Confirmation, {B::Yes, B::No}, {key(Qt::Key_Y)}, 6, false},
        AnswerCase{"OkCancelEscapeIsCancel",
                   MessageDialogType::Confirmation,
                   {B::OK, B::Cancel},
                   {key(Qt::Key_Escape)},
                   2,
                   false},
        AnswerCase{
            "OkCancelEnterIsOk", MessageDialogType::Confirmation, {B::OK, B::Cancel}, {key(Qt::Key_Enter)}, 1, false},
        AnswerCase{"YesAloneEscapeIsYes", MessageDialogType::Warning, {B::Yes}, {key(Qt::Key_Escape)}, 6, false},
        AnswerCase{"YesAloneLetterY", MessageDialogType::Warning, {B::Yes}, {key(Qt::Key_Y)}, 6, false},
        AnswerCase{"YesAloneCloseBoxStillCancel",
                   MessageDialogType::Warning,
                   {B::Yes},
                   {{Step::CloseBox, QString()}},
                   2,
                   false},
        AnswerCase{"HelpDoesNotClose", MessageDialogType::Information, {B::OK, B::Help}, {click("Help")}, 0, true},
        AnswerCase{"AbortRetryIgnore",
                   MessageDialogType::Error,
                   {B::Abort, B::Retry, B::Ignore},
                   {click("Ignore")},
                   5,
                   false}),
    [](const auto& info) { return std::string(info.param.name); });

struct ButtonRuleCase {
    const char* name;
    MessageButtons buttons;
    const char* defaultButton;
    const char* focusButton;
};

class MessageDialogButtonRuleTest : public ::testing::TestWithParam<ButtonRuleCase> {};

TEST_P(MessageDialogButtonRuleTest, DefaultAndFocusedButton)
{
    ModalBoxResponder responder;
    responder.closeBox();
    MessageDlg(QStringLiteral("x"), MessageDialogType::Confirmation, GetParam().buttons);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().defaultButton.toStdString(), GetParam().defaultButton);
    EXPECT_EQ(responder.last().focusButton.toStdString(), GetParam().focusButton);
}

INSTANTIATE_TEST_SUITE_P(Rules, MessageDialogButtonRuleTest,
                         ::testing::Values(ButtonRuleCase{"YesNo", {B::Yes, B::No}, "Yes", "Yes"},
                                           ButtonRuleCase{"OkCancel", {B::OK, B::Cancel}, "OK", "OK"},
                                           ButtonRuleCase{"YesNoOk", {B::OK, B::No, B::Yes}, "OK", "Yes"},
                                           ButtonRuleCase{
                                               "AbortRetryIgnore", {B::Abort, B::Retry, B::Ignore}, "Retry", "Abort"},
                                           ButtonRuleCase{"NoCancel", {B::No, B::Cancel}, "", "No"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MessageDialog, ConfirmationShowsCaptionIconTextAndButtonsInOrder)
{
    ModalBoxResponder responder;
    responder.click(QStringLiteral("No"));
    MessageDlg(hapus, MessageDialogType::Confirmation, {B::No, B::Yes});
    const ModalBoxRecord& box = responder.last();
    EXPECT_EQ(box.caption.toStdString(), "Confirm");
    EXPECT_EQ(box.text, hapus);
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, (QStringList{QStringLiteral("Yes"), QStringLiteral("No")}));
}

TEST(MessageDialog, InformationBoxHasTitleNoIconAndClosesOnEnterOrEscape)
{
    for (int k : {int(Qt::Key_Return), int(Qt::Key_Escape)}) {
        ModalBoxResponder responder;
        responder.key(k);
        ShowMessage(QStringLiteral("Data Tidak Ada "));
        ASSERT_EQ(responder.boxes().size(), 1);
        const ModalBoxRecord& box = responder.last();
        EXPECT_EQ(box.caption, ApplicationTitle::current());
        EXPECT_EQ(box.text.toStdString(), "Data Tidak Ada ");
        EXPECT_FALSE(box.hasIcon);
        EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
        EXPECT_FALSE(box.leftOpen);
        EXPECT_EQ(box.result, 1);
    }
}

TEST(MessageDialog, CtrlCCopiesTheHapusConfirmation)
{
    QGuiApplication::clipboard()->clear();
    ModalBoxResponder responder;
    responder.steps({key(Qt::Key_C, Qt::ControlModifier), click("No")});
    EXPECT_EQ(MessageDlg(hapus, MessageDialogType::Confirmation, {B::Yes, B::No}), 7);
    const QString divider = QStringLiteral("---------------------------\r\n");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              (divider + QStringLiteral("Confirm\r\n") + divider + hapus + QStringLiteral("\r\n") + divider +
               QStringLiteral("Yes   No   \r\n") + divider)
                  .toStdString());
}

TEST(MessageDialog, CtrlShiftCCopiesNothing)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    ModalBoxResponder responder;
    responder.steps({key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier), click("Yes")});
    MessageDlg(hapus, MessageDialogType::Confirmation, {B::Yes, B::No});
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "before");
}

TEST(MulDiv, RoundsHalfAwayFromZero)
{
    EXPECT_EQ(TMessageForm::mulDiv(8, 7, 4), 14);
    EXPECT_EQ(TMessageForm::mulDiv(10, 13, 8), 16);
    EXPECT_EQ(TMessageForm::mulDiv(14, 13, 8), 23);
    EXPECT_EQ(TMessageForm::mulDiv(5, 1, 2), 3);
    EXPECT_EQ(TMessageForm::mulDiv(-5, 1, 2), -3);
    EXPECT_EQ(TMessageForm::mulDiv(10, 15, 8), 19);
}

namespace {
struct Units {
    int x, y;
};

Units dialogUnits()
{
    const QFontMetrics m(WindowFonts::messageBox());
    return {m.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52,
            m.height()};
}
}  // namespace

TEST(MessageDialogGeometry, ShortTextIsJustWideEnoughForItsButtons)
{
    const Units u = dialogUnits();
    TMessageForm form(MessageFormPlan::dialog(QStringLiteral("Hi"), MessageDialogType::Custom, {B::OK}));
    const int buttonWidth = TMessageForm::mulDiv(50, u.x, 4);
    EXPECT_EQ(form.width(), buttonWidth + 2 * TMessageForm::mulDiv(8, u.x, 4));
    const int textHeight = form.findChild<QLabel*>(QStringLiteral("Message"))->height();
    EXPECT_EQ(form.height(), textHeight + TMessageForm::mulDiv(10, u.y, 8) + TMessageForm::mulDiv(14, u.y, 8) +
                                 2 * TMessageForm::mulDiv(8, u.y, 8));
    QPushButton* ok = form.button(B::OK);
    EXPECT_EQ(ok->width(), buttonWidth);
    EXPECT_EQ(ok->x(), TMessageForm::mulDiv(8, u.x, 4));
}

TEST(MessageDialogGeometry, TwoButtonRowIsCentredWithSpacing)
{
    const Units u = dialogUnits();
    TMessageForm form(MessageFormPlan::dialog(hapus, MessageDialogType::Confirmation, {B::Yes, B::No}));
    QPushButton* yes = form.button(B::Yes);
    QPushButton* no = form.button(B::No);
    EXPECT_EQ(no->x() - yes->x() - yes->width(), TMessageForm::mulDiv(4, u.x, 4));
    const int rowWidth = no->x() + no->width() - yes->x();
    EXPECT_LE(std::abs(yes->x() - (form.width() - rowWidth - yes->x())), 1);
    const QLabel* image = form.findChild<QLabel*>(QStringLiteral("Image"));
    const QLabel* message = form.findChild<QLabel*>(QStringLiteral("Message"));
    ASSERT_TRUE(image && message);
    EXPECT_EQ(image->geometry(), QRect(TMessageForm::mulDiv(8, u.x, 4), TMessageForm::mulDiv(8, u.y, 8), 32, 32));
    EXPECT_EQ(message->x(), image->x() + 32 + TMessageForm::mulDiv(10, u.x, 4));
    EXPECT_EQ(yes->y(), 32 + TMessageForm::mulDiv(8, u.y, 8) + TMessageForm::mulDiv(10, u.y, 8));
}

TEST(MessageDialogGeometry, LongTextWrapsAtHalfTheScreenAndIsCentred)
{
    const int screenWidth = QGuiApplication::primaryScreen()->geometry().width();
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("kata panjang ");
    TMessageForm form(MessageFormPlan::dialog(text, MessageDialogType::Warning, {B::Yes}));
    const QLabel* message = form.findChild<QLabel*>(QStringLiteral("Message"));
    EXPECT_LE(message->width(), screenWidth / 2);
    EXPECT_GT(message->width(), screenWidth / 2 - 100);
    EXPECT_GE(message->height(), 3 * QFontMetrics(form.font()).height());
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(form.x(), (screen.width() - form.width()) / 2);
    EXPECT_EQ(form.y(), (screen.height() - form.height()) / 2);
}

TEST(MessageDialogGeometry, WideCaptionWidensEveryButton)
{
    TMessageForm form(
        MessageFormPlan::dialog(QStringLiteral("x"), MessageDialogType::Confirmation, {B::Yes, B::YesToAll}));
    const int captionWidth = QFontMetrics(form.font()).horizontalAdvance(QStringLiteral("Yes to All"));
    EXPECT_EQ(form.button(B::Yes)->width(), qMax(TMessageForm::mulDiv(50, dialogUnits().x, 4), captionWidth + 8));
    EXPECT_EQ(form.button(B::Yes)->width(), form.button(B::YesToAll)->width());
}

struct PlainCase {
    const char* name;
    int flags;
    QStringList buttons;
    bool hasIcon;
    const char* defaultButton;
    int escapeResult;  // -1: Escape leaves the box open
};

class PlainMessageBoxTest : public ::testing::TestWithParam<PlainCase> {};

TEST_P(PlainMessageBoxTest, FlagsChooseButtonsIconAndEscape)
{
    ModalBoxResponder responder;
    responder.key(Qt::Key_Escape);
    const int result = ShowMessageBox(QStringLiteral("Maaf data yang anda masukkan belum lengkap !"),
                                      QStringLiteral("kesalahan"), GetParam().flags);
    const ModalBoxRecord& box = responder.last();
    EXPECT_EQ(box.caption.toStdString(), "kesalahan");
    EXPECT_EQ(box.buttons, GetParam().buttons);
    EXPECT_EQ(box.hasIcon, GetParam().hasIcon);
    EXPECT_EQ(box.defaultButton.toStdString(), GetParam().defaultButton);
    EXPECT_EQ(box.leftOpen, GetParam().escapeResult < 0);
    if (GetParam().escapeResult >= 0) {
        EXPECT_EQ(result, GetParam().escapeResult);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PlainMessageBoxTest,
    ::testing::Values(PlainCase{"Zero", 0, {QStringLiteral("OK")}, false, "OK", 1},
                      PlainCase{"OkStop", BoxFlags::Ok | BoxFlags::IconStop, {QStringLiteral("OK")}, true, "OK", 1},
                      PlainCase{"OkCancelSecondDefault",
                                BoxFlags::OkCancel | BoxFlags::DefaultButton2,
                                {QStringLiteral("OK"), QStringLiteral("Cancel")},
                                false,
                                "Cancel",
                                2},
                      PlainCase{"YesNo",
                                BoxFlags::YesNo | BoxFlags::IconQuestion,
                                {QStringLiteral("Yes"), QStringLiteral("No")},
                                true,
                                "Yes",
                                -1},
                      PlainCase{"YesNoCancel",
                                BoxFlags::YesNoCancel,
                                {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")},
                                false,
                                "Yes",
                                2}),
    [](const auto& info) { return std::string(info.param.name); });
