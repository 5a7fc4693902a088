#include <gtest/gtest.h>

#include <QFile>
#include <QTest>
#include <QToolButton>
#include <cstdlib>
#include <fstream>

#include "EReportError.h"
#include "ModalBoxResponder.h"
#include "PreviewFixture.h"
#include "TRepStandardPreview.h"

namespace {

struct ToolCase {
    const char* name;
    const char* hint;  // nullptr: a divider
    bool checkable;
    bool enabled;
};

const ToolCase toolbar[] = {
    {"ToolButton1", nullptr, false, true},
    {"ZoomFit", "Zoom to fit", true, true},
    {"Zoom100", "100%", true, true},
    {"ZoomToWidth", "Zoom to width", true, true},
    {"Separator1", nullptr, false, true},
    {"FirstPage", "First page", false, true},
    {"PreviousPage", "Previous page", false, true},
    {"ToolButton2", "Next page", false, true},
    {"LastPage", "Last page", false, true},
    {"Separator2", nullptr, false, true},
    {"PrintSetup", "Printer setup", false, false},
    {"Print", "Print", false, false},
    {"Separator3", nullptr, false, true},
    {"SaveReport", "Save Report", false, false},
    {"LoadReport", "Load Report", false, true},
    {"Separator4", nullptr, false, true},
};

TEST(TRepStandardPreview, ToolbarButtonsHintsAndStatusAtOpening)
{
    TRepPrinter destination;
    TRepStandardPreview preview(destination);
    const QList<QAction*> actions = preview.ToolBar1->actions();
    ASSERT_EQ(actions.size(), int(std::size(toolbar)) + 1);
    for (size_t i = 0; i < std::size(toolbar); ++i) {
        const ToolCase& c = toolbar[i];
        QAction* a = actions[qsizetype(i)];
        SCOPED_TRACE(c.name);
        EXPECT_EQ(a->objectName().toStdString(), c.name);
        EXPECT_EQ(a->isSeparator(), c.hint == nullptr);
        if (c.hint) {
            EXPECT_EQ(a->toolTip().toStdString(), c.hint);
        }
        EXPECT_EQ(a->isCheckable(), c.checkable);
        EXPECT_EQ(a->isEnabled(), c.enabled);
    }
    EXPECT_EQ(preview.ToolBar1->widgetForAction(actions.back()), preview.ExitButton);
    EXPECT_EQ(preview.ExitButton->text().toStdString(), "&Close");
    EXPECT_EQ(preview.ExitButton->size(), QSize(40, 22));
    EXPECT_TRUE(preview.ZoomToWidth->isChecked());
    EXPECT_EQ(preview.windowTitle().toStdString(), "Print Preview");
    EXPECT_EQ(preview.ProgressPanel->text().toStdString(), "0%");
    EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page");
    EXPECT_EQ(destination.Observer, preview.RepPreview);
    EXPECT_TRUE(destination.ShowingPreview());

    // one group: pressing one zoom button releases the others
    preview.ZoomFit->trigger();
    EXPECT_TRUE(preview.ZoomFit->isChecked());
    EXPECT_FALSE(preview.ZoomToWidth->isChecked());
    preview.Zoom100->trigger();
    EXPECT_FALSE(preview.ZoomFit->isChecked());
    EXPECT_EQ(preview.RepPreview->Zoom(), 100);
}

TEST(TRepStandardPreview, TitleOfTheDestinationReplacesTheCaption)
{
    TRepPrinter destination;
    destination.Title = "Daftar";
    TRepStandardPreview preview(destination);
    EXPECT_EQ(preview.windowTitle().toStdString(), "Print Preview - Daftar");
}

struct ProgressCase {
    const char* name;
    std::vector<int> values;
    const char* shown;
};

class ProgressText : public testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressText, StepsByAtLeastFiveAndDisappearsAtTheEnds)
{
    TRepPrinter destination;
    TRepStandardPreview preview(destination);
    for (int p : GetParam().values)
        preview.RepPreviewProgressUpdate(p);
    EXPECT_EQ(preview.ProgressPanel->text().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ProgressText,
    testing::Values(ProgressCase{"BelowFiveKeepsTheStart", {1, 2, 4}, "0%"}, ProgressCase{"FiveShows", {1, 5}, "5%"},
                    ProgressCase{"LessThanFiveMoreKeepsTheLast", {5, 7, 9}, "5%"},
                    ProgressCase{"FiveMoreShows", {5, 7, 10}, "10%"}, ProgressCase{"JumpShows", {37}, "37%"},
                    ProgressCase{"ZeroEmpties", {37, 0}, ""}, ProgressCase{"HundredEmpties", {37, 100}, ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The seniority list of n employees: 15 on page 1, 17 on each further page.
class PreviewRun : public PreviewFixture {};

struct KeyCase {
    const char* name;
    int startPage;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int page;
};

class PreviewKeys : public PreviewFixture, public testing::WithParamInterface<KeyCase> {};

TEST_P(PreviewKeys, MoveBetweenPagesAndShowThem)
{
    addEmployees(160);  // 10 pages
    makePanel(ReportDefinitions::Form9(&peg()));
    const KeyCase& c = GetParam();
    openPreview([&](TRepStandardPreview& preview) {
        ASSERT_EQ(preview.destination()->PageCount(), 10);
        preview.RepPreview->setPageNumber(c.startPage);
        preview.UpdateInfo();
        QTest::keyClick(preview.RepPreview, c.key, c.modifiers);
        EXPECT_EQ(preview.RepPreview->PageNumber(), c.page);
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page " + std::to_string(c.page) + " of 10");
        EXPECT_EQ(preview.RepPreview->pageImage()->picture(), preview.destination()->GetPage(c.page));
    });
}

INSTANTIATE_TEST_SUITE_P(
    Keys, PreviewKeys,
    testing::Values(KeyCase{"EndShowsTheLast", 1, Qt::Key_End, Qt::NoModifier, 10},
                    KeyCase{"PageDownOnTheLastDoesNothing", 10, Qt::Key_PageDown, Qt::NoModifier, 10},
                    KeyCase{"PageDownShowsTheNext", 4, Qt::Key_PageDown, Qt::NoModifier, 5},
                    KeyCase{"PageUpShowsThePrevious", 4, Qt::Key_PageUp, Qt::NoModifier, 3},
                    KeyCase{"PageUpOnTheFirstDoesNothing", 1, Qt::Key_PageUp, Qt::NoModifier, 1},
                    KeyCase{"CtrlPageUpShowsTheFirst", 7, Qt::Key_PageUp, Qt::ControlModifier, 1},
                    KeyCase{"CtrlPageDownShowsTheLast", 2, Qt::Key_PageDown, Qt::ControlModifier, 10},
                    KeyCase{"CtrlShiftPageUpIsNotCtrlAlone", 7, Qt::Key_PageUp, Qt::ControlModifier | Qt::ShiftModifier,
                            6},
                    KeyCase{"HomeShowsTheFirst", 6, Qt::Key_Home, Qt::NoModifier, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewRun, ButtonsMoveAndTheLastPageTextReadsTenOfTen)
{
    addEmployees(160);
    makePanel(ReportDefinitions::Form9(&peg()));
    openPreview([&](TRepStandardPreview& preview) {
        EXPECT_TRUE(preview.Print->isEnabled());
        EXPECT_TRUE(preview.PrintSetup->isEnabled());
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 1 of 10");
        EXPECT_EQ(preview.ProgressPanel->text().toStdString(), "");  // gone at 100
        QTest::mouseClick(preview.ToolBar1->widgetForAction(preview.LastPage), Qt::LeftButton);
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 10 of 10");
        preview.ToolButton2->trigger();
        EXPECT_EQ(preview.RepPreview->PageNumber(), 10);
        preview.PreviousPage->trigger();
        preview.PreviousPage->trigger();
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 8 of 10");
        preview.FirstPage->trigger();
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 1 of 10");
        QTest::keyClick(preview.RepPreview, Qt::Key_Escape);
        EXPECT_TRUE(preview.closed());
    });
    EXPECT_EQ(panel->preview(), nullptr);
    EXPECT_TRUE(panel->report().Available());
}

TEST_F(PreviewRun, CommandReturnsAfterTheCloseWithTheTableOnItsLastRecordAndOtherWindowsUsable)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    QPushButton other(QStringLiteral("other"));
    other.show();
    int clicks = 0;
    QObject::connect(&other, &QPushButton::clicked, [&] { ++clicks; });
    bool returned = false;
    openPreview([&](TRepStandardPreview& preview) {
        QTest::mouseClick(&other, Qt::LeftButton);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(current(), "1970100020");
        EXPECT_TRUE(peg().Eof());
        // the command again: the open preview and its pages stay as they are
        TRepPrinter* destination = preview.destination();
        panel->OpenPreview();
        EXPECT_EQ(panel->preview(), &preview);
        EXPECT_EQ(preview.destination(), destination);
        EXPECT_EQ(destination->PageCount(), 2);
        EXPECT_FALSE(returned);
        preview.ExitButton->click();
    });
    returned = true;
    EXPECT_EQ(panel->preview(), nullptr);
}

// The pages go to a temporary file past the memory limit; with no usable
// temporary folder the run fails there, the error names the folder, and the
// preview keeps the pages made so far and says the report is incomplete.
TEST_F(PreviewRun, NoRoomForThePagesEndsTheRunAndThePreviewSaysItIsIncomplete)
{
    addEmployees(800);
    makePanel(ReportDefinitions::Form9(&peg()));
    const std::string missing = db_->root() + "/no-such-folder";
    const char* was = std::getenv("TMPDIR");
    const std::string saved = was ? was : "";
    ::setenv("TMPDIR", missing.c_str(), 1);
    // Should the run not fail, its preview is closed, so the test cannot hang.
    QObject::connect(panel.get(), &ReportPanel::previewOpened, [](TRepStandardPreview* preview) {
        QTimer::singleShot(60000, preview, [preview] { preview->close(); });
    });
    std::string error;
    try {
        panel->OpenPreview();
    } catch (const EReportError& e) {
        error = e.what();
    }
    if (was)
        ::setenv("TMPDIR", saved.c_str(), 1);
    else
        ::unsetenv("TMPDIR");
    EXPECT_NE(error.find("\"" + missing + "\""), std::string::npos) << error;
    TRepStandardPreview* preview = panel->preview();
    ASSERT_NE(preview, nullptr);
    ASSERT_TRUE(processUntil([&] { return preview->PagePanel->text().endsWith(QStringLiteral("(incomplete)")); }))
        << preview->PagePanel->text().toStdString();
    EXPECT_TRUE(preview->PagePanel->text().startsWith(QStringLiteral("Page 1 of ")));
    EXPECT_GT(preview->destination()->PageCount(), 0);
    EXPECT_TRUE(preview->destination()->Incomplete());
    preview->close();
}

TEST_F(PreviewRun, ClosingWhilePagesAreProducedStopsTheRun)
{
    addEmployees(200);
    makePanel(ReportDefinitions::Form9(&peg()));
    peg().First();
    peg().MoveBy(41);
    const std::string before = current();
    int pagesAtClose = 0;
    openPreview(
        [&](TRepStandardPreview& preview) {
            pagesAtClose = preview.destination()->PageCount();
            preview.close();
        },
        [](TRepStandardPreview& preview) {
            return preview.destination() && preview.destination()->AvailablePages() >= 1;
        });
    EXPECT_GE(pagesAtClose, 1);
    EXPECT_LT(pagesAtClose, 12);
    EXPECT_TRUE(panel->report().Available());
    EXPECT_EQ(panel->preview(), nullptr);
    // the run read the table through its own cursor: a stopped run leaves
    // the shared table where the user had it
    EXPECT_FALSE(peg().Eof());
    EXPECT_EQ(current(), before);
}

TEST_F(PreviewRun, EmptyTablePrintsTheTitleAndOneEmptyDetailOnOnePage)
{
    makePanel(ReportDefinitions::Form9(&peg()));
    openPreview([&](TRepStandardPreview& preview) {
        EXPECT_EQ(preview.destination()->PageCount(), 1);
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 1 of 1");
        EXPECT_FALSE(preview.RepPreview->pageImage()->empty());
    });
}

TEST_F(PreviewRun, ZoomCommandsFollowTheViewAndThePage)
{
    addEmployees(3);
    makePanel(ReportDefinitions::Form11(&dm().Tmutasi));
    openPreview([&](TRepStandardPreview& preview) {
        TRepPreview& view = *preview.RepPreview;
        const QSize page = view.pagePixels();
        EXPECT_EQ(page, QSize(1344, 816));  // Legal landscape at 96 pixels per inch
        const QSize v = view.viewSize();
        EXPECT_EQ(view.zoomState(), TRepPreview::ZoomState::Width);
        EXPECT_EQ(view.Zoom(), int(std::lround(double(v.width()) / page.width() * 90)));
        preview.ZoomFit->trigger();
        const int fit = std::min(int(std::lround(double(v.height()) / page.height() * 95)),
                                 int(std::lround(double(v.width()) / page.width() * 95)));
        EXPECT_EQ(view.Zoom(), fit);
        EXPECT_EQ(view.pageImage()->size(), QSize(page.width() * fit / 100 + 4, page.height() * fit / 100 + 4));
        view.setZoom(1);
        view.setZoom(2001);
        EXPECT_EQ(view.Zoom(), fit);
        EXPECT_EQ(view.zoomState(), TRepPreview::ZoomState::Fit);
        view.setZoom(2000);
        EXPECT_EQ(view.pageImage()->size(), QSize(page.width() * 20 + 4, page.height() * 20 + 4));
        preview.Zoom100->trigger();
        EXPECT_EQ(view.Zoom(), 100);
        EXPECT_EQ(view.zoomState(), TRepPreview::ZoomState::Other);
        // a resized view in width mode fits its new width
        preview.ZoomToWidth->trigger();
        preview.showNormal();
        preview.resize(700, 500);
        QCoreApplication::processEvents();
        EXPECT_EQ(view.Zoom(), int(std::lround(double(view.viewSize().width()) / page.width() * 90)));
    });
}

TEST_F(PreviewRun, EachPreviewIsNamedAfterItsReport)
{
    const std::pair<std::unique_ptr<TBandReport> (*)(TDataSet*), const char*> reports[] = {
        {ReportDefinitions::Form9, "Print Preview - Daftar Urut Kepangkatan"},
        {ReportDefinitions::Form10, "Print Preview - Bezetting"},
        {ReportDefinitions::Form11, "Print Preview - Mutasi"}};
    for (const auto& [make, title] : reports) {
        makePanel(make(make == ReportDefinitions::Form11 ? &dm().Tmutasi : &peg()));
        openPreview([&](TRepStandardPreview& preview) { EXPECT_EQ(preview.windowTitle().toStdString(), title); });
    }
}

TEST_F(PreviewRun, SaveWritesThePagesWithTheDialogsTextsAndReplacesAFile)
{
    addEmployees(20);
    makePanel(ReportDefinitions::Form10(&peg()));
    const QString file = QString::fromStdString(db_->root() + "/saved.RPF");
    {
        std::ofstream old(file.toStdString());
        old << "old contents";
    }
    dialogs.answer = file;
    std::vector<std::uint8_t> page2;
    openPreview([&](TRepStandardPreview& preview) {
        page2 = *preview.destination()->GetPage(2);
        preview.SaveReport->trigger();
    });
    ASSERT_EQ(dialogs.saves.size(), 1u);
    EXPECT_EQ(dialogs.saves[0].title.toStdString(), "Save report");
    EXPECT_EQ(dialogs.saves[0].filter.toStdString(), "Report file(*.RPF)|*.RPF|PDF file (*.pdf)|*.pdf");
    EXPECT_EQ(dialogs.saves[0].defaultExt.toStdString(), "RPF");
    TRepPrinter loaded;
    loaded.Load(file.toStdString());
    EXPECT_EQ(loaded.PageCount(), 2);
    EXPECT_EQ(*loaded.GetPage(2), page2);
}

// Save (and with it the PDF export) waits for the run: disabled while pages
// are added, enabled when the run ends, and then it writes.
TEST_F(PreviewRun, SaveIsOfferedOnceTheRunHasFinished)
{
    addEmployees(200);
    makePanel(ReportDefinitions::Form10(&peg()));
    const QString file = QString::fromStdString(db_->root() + "/early.RPF");
    dialogs.answer = file;
    bool busy = false, offered = true, offeredAfter = false;
    openPreview(
        [&](TRepStandardPreview& preview) {
            busy = preview.destination()->status() == TRepPrinter::Status::Busy;
            offered = preview.SaveReport->isEnabled();
            preview.SaveReport->trigger();
        },
        [](TRepStandardPreview& preview) {
            return preview.destination() && preview.destination()->AvailablePages() >= 1;
        });
    EXPECT_FALSE(QFile::exists(file));
    openPreview([&](TRepStandardPreview& preview) {
        offeredAfter = preview.SaveReport->isEnabled();
        preview.SaveReport->trigger();
    });
    EXPECT_TRUE(busy);
    EXPECT_FALSE(offered);
    EXPECT_TRUE(offeredAfter);
    EXPECT_EQ(dialogs.saves.size(), 1u);  // asked only once it could write
    TRepPrinter saved;
    saved.Load(file.toStdString());
    EXPECT_EQ(saved.PageCount(), 12);
}

TEST_F(PreviewRun, LoadShowsTheFileOrSaysItDoesNotExist)
{
    addEmployees(40);  // 3 pages
    makePanel(ReportDefinitions::Form11(&dm().Tmutasi));
    // a saved seniority list of 3 pages
    const std::string file = db_->root() + "/three.RPF";
    {
        auto report = ReportDefinitions::Form9(&peg());
        TRepPrinter destination;
        report->RunReport(destination);
        ASSERT_EQ(destination.PageCount(), 3);
        destination.Save(file);
    }
    ModalBoxResponder responder;
    responder.click(QStringLiteral("OK"));
    openPreview([&](TRepStandardPreview& preview) {
        TRepPrinter& destination = *preview.destination();
        ASSERT_EQ(destination.PageCount(), 1);
        dialogs.answer = QString::fromStdString(db_->root() + "/missing.RPF");
        preview.LoadReport->trigger();
        ASSERT_EQ(responder.boxes().size(), 1);
        EXPECT_EQ(responder.last().text.toStdString(), "File does not exist");
        EXPECT_EQ(destination.PageCount(), 1);
        EXPECT_FALSE(destination.ReportLoaded());

        dialogs.answer = QString::fromStdString(file);
        preview.LoadReport->trigger();
        EXPECT_TRUE(destination.ReportLoaded());
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 1 of 3");
        EXPECT_EQ(preview.RepPreview->pageImage()->picture(), destination.GetPage(1));
        // the setup and the title follow the loaded report
        EXPECT_TRUE(preview.PrintSetup->isEnabled());
        EXPECT_EQ(preview.windowTitle().toStdString(), "Print Preview - Daftar Urut Kepangkatan");
        EXPECT_TRUE(preview.Print->isEnabled());
        EXPECT_EQ(destination.Orientation, TRepOrientation::poLandscape);
        EXPECT_EQ(destination.PaperSize, TRepPaperSize::Legal);
        preview.LastPage->trigger();
        EXPECT_EQ(preview.PagePanel->text().toStdString(), "Page 3 of 3");
    });
    ASSERT_EQ(dialogs.opens.size(), 2u);
    EXPECT_EQ(dialogs.opens[0].title.toStdString(), "Load report");
    EXPECT_EQ(dialogs.opens[0].filter.toStdString(), "Report file (*.RPF)|*.RPF");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(file)));  // the loaded file stays
}

TEST(QtFileDialogs, FilterEntriesShowTheirDescription)
{
    EXPECT_EQ(QtFileDialogs::nameFilters(TRepStandardPreview::SaveFilter).join(QLatin1Char(';')).toStdString(),
              "Report file(*.RPF) (*.RPF);PDF file (*.pdf) (*.pdf)");
    EXPECT_EQ(QtFileDialogs::nameFilters(QStringLiteral("A|*.a|B|*.b;*.c")).join(QLatin1Char(';')).toStdString(),
              "A (*.a);B (*.b *.c)");
}

}  // namespace
