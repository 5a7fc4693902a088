#include "EDBEngineError.h"
#include "ModalBoxResponder.h"
#include "Startup.h"
#include "StartedProgram.h"
#include "TForm1.h"
#include "TForm12.h"
#include "TForm2.h"
#include "TForm9.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {
const std::vector<std::string> startOrder = {"Form12", "Form1",  "Form2",  "DMarsipstaf", "Form3",
                                             "Form4",  "Form5",  "Form6",  "Form7",       "Form8",
                                             "Form9",  "Form10", "Form11", "Form14",      "Form15"};

// Records every top-level window that is shown.
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QStringList names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (event->type() == QEvent::Show && widget && widget->isWindow())
            names << widget->objectName();
        return false;
    }
};
}

using Startup = StartedProgram;

TEST_F(Startup, CreatesTheObjectsInOrderWithTheLoginAsMainWindow)
{
    EXPECT_EQ(objects->creationOrder(), startOrder);
    EXPECT_EQ(TApplication::instance()->MainForm(), Form12);
    const QWidgetList windows = QApplication::topLevelWidgets();
    int programWindows = 0;
    for (QWidget* w : windows) {
        if (qobject_cast<TForm*>(w)) {
            ++programWindows;
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        }
    }
    EXPECT_EQ(programWindows, 14);
}

TEST(StartupEnd, DestroyingTheObjectsClearsEveryGlobal)
{
    {
        ApplicationObjects objects(openDataModule);
        objects.create();
        ASSERT_NE(Form12, nullptr);
        ASSERT_NE(Form9, nullptr);
    }
    EXPECT_EQ(Form12, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(Form9, nullptr);
}

TEST(StartupFailure, TableThatCannotBeOpenedEndsTheProgramBeforeTheLogin)
{
    ShownWindows shown;
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    const int status = runProgram(*TApplication::instance(), []() -> std::shared_ptr<TDMarsipstaf> {
        throw EDatabaseError("Tagama: Table does not exist");
    });
    EXPECT_EQ(status, 1);
    ASSERT_EQ(responder.boxes().size(), 1);
    EXPECT_EQ(responder.last().text.toStdString(), "Tagama: Table does not exist.");
    EXPECT_FALSE(shown.names.contains(QStringLiteral("Form12")));
    EXPECT_EQ(Form12, nullptr);
    EXPECT_EQ(Form1, nullptr);
}

TEST(StartupRun, ShowsOnlyTheLoginAndEndsWhenItIsClosed)
{
    ShownWindows shown;
    QTimer::singleShot(0, [] { Form12->Button3->click(); });
    QTimer guard;  // ends the loop should "Tutup" not end it
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    const int status = runProgram(*TApplication::instance(), openDataModule);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(shown.names, QStringList{QStringLiteral("Form12")});
}
