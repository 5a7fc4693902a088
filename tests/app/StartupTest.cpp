#include "Startup.h"
#include "DMarsipstaf.h"
#include "EDBEngineError.h"
#include "ModalBoxResponder.h"
#include "ReportRegistry.h"
#include "StartedProgram.h"
#include "TForm1.h"
#include "TForm12.h"
#include "TForm2.h"
#include "TForm9.h"
#include "TempDatabase.h"

#include <QTimer>
#include <algorithm>
#include <gtest/gtest.h>

namespace {
const std::vector<std::string> windowClassReports = {"Form9", "Form10", "Form11"};

// The fifteen globals in their fixed order, with the window of any report
// registered besides those three after Form11.
std::vector<std::string> startOrder()
{
    std::vector<std::string> order = {"Form12", "Form1", "Form2", "DMarsipstaf", "Form3",  "Form4", "Form5",
                                      "Form6",  "Form7", "Form8", "Form9",       "Form10", "Form11"};
    for (const ReportRegistry::Entry& report : ReportRegistry::all())
        if (std::ranges::find(windowClassReports, report.name) == windowClassReports.end())
            order.emplace_back(report.name);
    order.insert(order.end(), {"Form14", "Form15"});
    return order;
}

// Records every window of the program that is shown (boxes aside).
class ShownWindows : public QObject {
public:
    ShownWindows() { qApp->installEventFilter(this); }
    ~ShownWindows() override { qApp->removeEventFilter(this); }
    QStringList names;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* form = qobject_cast<TForm*>(watched);
        if (event->type() == QEvent::Show && form)
            names << form->objectName();
        return false;
    }
};
}  // namespace

using Startup = StartedProgram;

TEST_F(Startup, CreatesTheObjectsInOrderWithTheLoginAsMainWindow)
{
    const std::vector<std::string> order = startOrder();
    EXPECT_EQ(objects->creationOrder(), order);
    EXPECT_EQ(TApplication::instance()->MainForm(), Form12);
    const QWidgetList windows = QApplication::topLevelWidgets();
    int programWindows = 0, historyWindows = 0;
    for (QWidget* w : windows) {
        if (qobject_cast<TForm*>(w)) {
            ++(w->objectName().endsWith(QStringLiteral("Riwayat")) ? historyWindows : programWindows);
            EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
        }
    }
    EXPECT_EQ(programWindows, int(order.size()) - 1);  // the data module is no window
    EXPECT_EQ(historyWindows, 0);                      // made when first asked for
}

TEST_F(Startup, OpensEveryTableAndBindsTheEmployeeWindowToTheModule)
{
    ASSERT_NE(DMarsipstaf, nullptr);
    for (TTable* table : DMarsipstaf->Tables())
        EXPECT_TRUE(table->Active()) << table->Name();
    for (const char* name : TForm2::referencedSources) {
        EXPECT_NE(Form2->dataSource(name), nullptr) << name;
        EXPECT_EQ(Form2->dataSource(name), DMarsipstaf->DataSourceByName(name)) << name;
    }
}

TEST(StartupEnd, DestroyingTheObjectsClearsEveryGlobal)
{
    TempDatabase database;
    {
        ApplicationObjects objects(openDataModule);
        objects.create();
        ASSERT_NE(Form12, nullptr);
        ASSERT_NE(Form9, nullptr);
    }
    EXPECT_EQ(Form12, nullptr);
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(DMarsipstaf, nullptr);
    EXPECT_EQ(Form9, nullptr);
}

TEST(StartupFailure, MissingTableFileShowsTheEngineMessageAndEnds)
{
    TempDatabase database(TempDatabase::Tables::None);
    // As the program starts: the tables opened ahead tell nothing themselves.
    std::shared_ptr<TableFilesAhead> tables = openTablesAhead();
    ShownWindows shown;
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    EXPECT_EQ(runProgram(*TApplication::instance(), openDataModule), 1);
    ASSERT_EQ(responder.boxes().size(), 1);
    // The first table opened is the religion code table.
    EXPECT_TRUE(responder.last().text.contains(QStringLiteral("Agama.db"))) << responder.last().text.toStdString();
    EXPECT_EQ(responder.last().caption.toStdString(), "test_app");
    EXPECT_TRUE(shown.names.isEmpty()) << shown.names.join(QLatin1Char(',')).toStdString();
    EXPECT_EQ(DMarsipstaf, nullptr);
}

TEST(StartupFailure, TableThatCannotBeOpenedEndsTheProgramBeforeTheLogin)
{
    ShownWindows shown;
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    const int status = runProgram(*TApplication::instance(), []() -> std::unique_ptr<TDMarsipstaf> {
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
    TempDatabase database;
    std::shared_ptr<TableFilesAhead> tables = openTablesAhead();
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
