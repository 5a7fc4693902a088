// A report run reads its own records: the windows sharing the table may be
// used while it runs without changing what prints.
#include "RecordWindowFixture.h"
#include "TForm4.h"
#include "TForm9.h"

#include <QCoreApplication>
#include <QTimer>
#include <functional>
#include <map>

namespace {

struct RunSeen {
    std::vector<std::vector<std::uint8_t>> pages;
    int maxProgress = 0;
    int actionsDone = 0;
};

class ReportRunIsolation : public RecordWindowFixture {
protected:
    void SetUp() override
    {
        RecordWindowFixture::SetUp();
        // 203 employees with the fixture's three: 13 pages of the seniority list (15, then 17 a page)
        for (int i = 1; i <= 200; ++i)
            addEmployee("1980" + std::to_string(100000 + i), "Pegawai " + std::to_string(i), {{"Kd_Agama", "01"}});
        peg().First();
        form4 = std::make_unique<TForm4>(dm());
        Form4 = form4.get();
        form4->Show();
        form9 = std::make_unique<TForm9>(dm());
        Form9 = form9.get();
    }

    void TearDown() override
    {
        Form9 = nullptr;
        Form4 = nullptr;
        form9.reset();
        form4.reset();
        RecordWindowFixture::TearDown();
    }

    // Runs the seniority list in its preview; once the preview holds the
    // number of finished pages a key names, that action runs (the user's
    // click meanwhile). The preview is closed when the run has finished.
    RunSeen run(const std::map<int, std::function<void()>>& actions = {})
    {
        RunSeen seen;
        ReportPanel& panel = *form9->Report1;
        TRepStandardPreview* preview = nullptr;
        QTimer poll;
        poll.setInterval(0);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            TRepPrinter* destination = preview ? preview->destination() : nullptr;
            if (!destination)
                return;
            seen.maxProgress = std::max(seen.maxProgress, destination->Progress());
            for (const auto& [pages, action] : actions)
                if (seen.actionsDone < int(std::distance(actions.begin(), actions.find(pages))) + 1 &&
                    destination->AvailablePages() >= pages && !panel.report().Available()) {
                    action();
                    ++seen.actionsDone;
                }
            if (destination->status() == TRepPrinter::Status::Finished && panel.report().Available()) {
                poll.stop();
                QCoreApplication::processEvents();
                for (int n = 1; n <= destination->PageCount(); ++n)
                    seen.pages.push_back(*destination->GetPage(n));
                preview->close();
            }
        });
        auto opened = QObject::connect(&panel, &ReportPanel::previewOpened, [&](TRepStandardPreview* p) {
            preview = p;
            poll.start();
        });
        form9->OpenPreview();
        QObject::disconnect(opened);
        return seen;
    }

    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm9> form9;
};

TEST_F(ReportRunIsolation, TerakhirPertamaAndTambahMeanwhileChangeNothingThatPrints)
{
    const RunSeen undisturbed = run();
    ASSERT_EQ(undisturbed.pages.size(), 13u);
    EXPECT_TRUE(peg().Eof());
    EXPECT_EQ(current(), "1980100200");

    peg().First();
    const RunSeen disturbed = run({
        {2, [&] { click(form4->Button2); }},  // Terakhir
        {4, [&] { click(form4->Button1); }},  // Pertama
        {6, [&] { click(form4->Button2); }},  // Terakhir again
        {8, [&] { click(form2->Button1); }},  // Tambah in the employee window
    });
    EXPECT_EQ(disturbed.actionsDone, 4);
    EXPECT_LE(disturbed.maxProgress, 100);
    ASSERT_EQ(disturbed.pages.size(), undisturbed.pages.size());
    for (size_t n = 0; n < undisturbed.pages.size(); ++n)
        EXPECT_EQ(disturbed.pages[n], undisturbed.pages[n]) << "page " << n + 1;
    // the new record being entered is left alone
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    click(form2->Button2);  // Batal
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(employeeCount(), 203);
}

TEST_F(ReportRunIsolation, MovesMeanwhileStayWithTheUserAndTheFinishedRunStandsOnTheLastRecord)
{
    std::string duringRun;
    const RunSeen seen = run({
        {3,
         [&] {
             click(form4->Button1);  // Pertama
             duringRun = current();
         }},
        {5, [&] { EXPECT_EQ(current(), duringRun) << "the run moved the shared table"; }},
    });
    EXPECT_EQ(seen.actionsDone, 2);
    EXPECT_EQ(seen.pages.size(), 13u);
    EXPECT_EQ(duringRun, "1957010101");
    EXPECT_TRUE(peg().Eof());
    EXPECT_EQ(current(), "1980100200");
}

}  // namespace
