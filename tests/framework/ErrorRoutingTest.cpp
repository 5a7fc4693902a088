#include "ApplicationTitle.h"
#include "EAbort.h"
#include "EConvertError.h"
#include "EDBEditError.h"
#include "EDatabaseError.h"
#include "HandlerGuard.h"
#include "MessageBoxes.h"
#include "ModalBoxResponder.h"
#include "TApplication.h"

#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {
// A button whose click runs the given handler, as a window's event handler.
struct HandlerButton {
    QPushButton button;
    int stepsDone = 0;
    explicit HandlerButton(std::function<void()> failing)
    {
        button.resize(80, 25);
        QObject::connect(&button, &QPushButton::clicked, guard([this, failing] {
            ++stepsDone;
            failing();
            ++stepsDone;  // never reached when the handler fails
        }));
        button.show();
    }
    void click() { QTest::mouseClick(&button, Qt::LeftButton); }
};

struct ErrorCase {
    const char* name;
    std::function<void()> raise;
    const char* text;
};

std::ostream& operator<<(std::ostream& os, const ErrorCase& c)
{
    return os << c.name;
}
}  // namespace

class ErrorBoxTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorBoxTest, EscapingErrorIsShownAndTheLoopGoesOn)
{
    HandlerButton handler(GetParam().raise);
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK")).click(QStringLiteral("OK"));
    handler.click();
    ASSERT_EQ(responder.boxes().size(), 1);
    const ModalBoxRecord& box = responder.last();
    EXPECT_EQ(box.text.toStdString(), GetParam().text);
    EXPECT_EQ(box.caption, ApplicationTitle::current());
    EXPECT_TRUE(box.hasIcon);
    EXPECT_EQ(box.buttons, QStringList{QStringLiteral("OK")});
    EXPECT_EQ(handler.stepsDone, 1);
    handler.click();  // the next event is handled as usual
    EXPECT_EQ(responder.boxes().size(), 2);
    EXPECT_EQ(handler.stepsDone, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Errors, ErrorBoxTest,
    ::testing::Values(
        ErrorCase{"DatabaseError", [] { throw EDatabaseError("Tdatapeg: Field 'NIP' must have a value"); },
                  "Tdatapeg: Field 'NIP' must have a value."},
        ErrorCase{"EditError", [] { throw EDBEditError("Invalid input value.  Use escape key to abandon changes", 3); },
                  "Invalid input value.  Use escape key to abandon changes."},
        ErrorCase{"ConvertError", [] { throw EConvertError("'31/02/1990' is not a valid date"); },
                  "'31/02/1990' is not a valid date."},
        ErrorCase{"QuestionMark", [] { throw std::runtime_error("Delete record?"); }, "Delete record?."},
        ErrorCase{"EndsWithFullStop", [] { throw std::runtime_error("Cannot open file."); }, "Cannot open file."}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorRouting, SilentAbortShowsNothing)
{
    HandlerButton handler([] { throw EAbort(); });
    ModalBoxResponder responder;
    handler.click();
    EXPECT_TRUE(responder.boxes().empty());
    EXPECT_EQ(handler.stepsDone, 1);
}

TEST(ErrorRouting, ObjectThatIsNotAnErrorGetsApplicationErrorBox)
{
    HandlerButton handler([] { throw 42; });
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    handler.click();
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().caption.toStdString(), "Application Error");
    EXPECT_TRUE(responder.last().text.startsWith(QStringLiteral("Exception int in module test_framework at ")));
    EXPECT_TRUE(responder.last().hasIcon);
}

TEST(ErrorRouting, ErrorFromATimerIsShown)
{
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    bool fired = false;
    QTimer::singleShot(0, guard([&fired] {
                           fired = true;
                           throw EDatabaseError("Tdatapeg: Table is busy");
                       }));
    while (!fired)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text.toStdString(), "Tdatapeg: Table is busy.");
}

TEST(ErrorRouting, ApplicationErrorEventReplacesTheBox)
{
    HandlerButton handler([] { throw EDatabaseError("Tmutasi: Key violation"); });
    ModalBoxResponder responder;  // any box would fail the test
    std::vector<std::string> seen;
    TApplication::instance()->OnException = [&seen](const std::exception& e) { seen.emplace_back(e.what()); };
    handler.click();
    TApplication::instance()->OnException = nullptr;
    EXPECT_TRUE(responder.boxes().empty());
    EXPECT_EQ(seen, std::vector<std::string>{"Tmutasi: Key violation"});
}

// The guard stops the error where Qt called in: Qt's own code around the
// handler runs on, so a second handler of the same signal still runs and the
// button's own release handling ends normally (it is no longer down).
TEST(ErrorRouting, GuardedErrorDoesNotPassThroughQtsFrames)
{
    HandlerButton handler([] { throw EDatabaseError("Tdatapeg: Key violation"); });
    int laterHandlers = 0;
    QObject::connect(&handler.button, &QPushButton::clicked, [&laterHandlers] { ++laterHandlers; });
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    handler.click();
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text.toStdString(), "Tdatapeg: Key violation.");
    EXPECT_EQ(handler.stepsDone, 1);
    EXPECT_EQ(laterHandlers, 1);
    EXPECT_FALSE(handler.button.isDown());
}

TEST(ErrorRouting, GuardPassesTheSignalsArgumentsWhenTheHandlerTakesThem)
{
    QPushButton button;
    button.setCheckable(true);
    std::vector<bool> seen;
    int plain = 0;
    QObject::connect(&button, &QPushButton::toggled, guard([&seen](bool on) { seen.push_back(on); }));
    QObject::connect(&button, &QPushButton::toggled, guard([&plain] { ++plain; }));
    button.toggle();
    button.toggle();
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_EQ(plain, 2);
    EXPECT_TRUE(guarded([] {}));
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    EXPECT_FALSE(guarded([] { throw EDatabaseError("Tmutasi: Table is busy"); }));
    EXPECT_EQ(responder.boxes().size(), 1);
}
