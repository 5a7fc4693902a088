#include "DataModuleFixture.h"
#include "RecordingLink.h"

namespace {

using DataSetNotifications = OnBothEngines<DataModuleFixture>;

TEST_P(DataSetNotifications, LinksHearNonVisualFirstThenVisualEachNewestFirst)
{
    std::vector<std::string> log;
    RecordingLink a("a", log), b("b", log, true), c("c", log), d("d", log, true);
    for (RecordingLink* link : {&a, &b, &c, &d})
        link->SetDataSource(&dm().DSdatapeg);
    TDataSource second("second");
    RecordingLink e("e", log);
    e.SetDataSource(&second);
    second.SetDataSet(&peg());
    dm().DSdatapeg.OnDataChange = [&](TDataSource&, TField*) { log.push_back("DSdatapeg data change"); };
    second.OnDataChange = [&](TDataSource&, TField*) { log.push_back("second data change"); };
    log.clear();
    peg().First();
    EXPECT_EQ(log, (std::vector<std::string>{"c: check", "a: check", "d: check", "b: check", "e: check", "c: dataset",
                                             "a: dataset", "d: dataset", "b: dataset", "DSdatapeg data change",
                                             "e: dataset", "second data change"}));
    dm().DSdatapeg.OnDataChange = nullptr;
}

TEST_P(DataSetNotifications, EditingSendsStateThenRecordChangeAndFieldChanges)
{
    addEmployee("1000000001", "A");
    std::vector<std::string> log;
    RecordingLink link("l", log);
    link.SetDataSource(&dm().DSdatapeg);
    std::vector<std::string> states;
    dm().DSdatapeg.OnStateChange = [&](TDataSource& source) {
        states.push_back(source.State() == TDataSetState::dsEdit ? "edit" : "other");
    };
    log.clear();
    peg().Edit();
    EXPECT_EQ(log, (std::vector<std::string>{"l: check", "l: editing", "l: record"}));
    EXPECT_EQ(states, (std::vector<std::string>{"edit"}));
    log.clear();
    peg().FieldByName("Kd_Agama")->SetText("01");
    EXPECT_EQ(log, (std::vector<std::string>{"l: field Kd_Agama"}));
    log.clear();
    peg().Post();
    EXPECT_EQ(log, (std::vector<std::string>{"l: update", "l: check", "l: not editing", "l: dataset"}));
    dm().DSdatapeg.OnStateChange = nullptr;
}

TEST_P(DataSetNotifications, AutoEditThroughALinkRespectsReadOnlyAndAutoEdit)
{
    addEmployee("1000000001", "A");
    std::vector<std::string> log;
    RecordingLink link("l", log);
    link.SetDataSource(&dm().DSdatapeg);
    link.SetReadOnly(true);
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    link.SetReadOnly(false);
    dm().DSdatapeg.AutoEdit = false;
    EXPECT_FALSE(link.Edit());
    dm().DSdatapeg.AutoEdit = true;
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    peg().Cancel();
}

TEST_P(DataSetNotifications, ADisabledSourcePassesOnlyStateChanges)
{
    std::vector<std::string> log;
    RecordingLink link("l", log);
    link.SetDataSource(&dm().DSdatapeg);
    dm().DSdatapeg.SetEnabled(false);
    EXPECT_FALSE(link.Active());
    log.clear();
    peg().First();
    peg().Append();
    EXPECT_TRUE(log.empty());
    dm().DSdatapeg.SetEnabled(true);
    EXPECT_TRUE(link.Active());
    EXPECT_TRUE(link.Editing());
    peg().Cancel();
}

TEST_P(DataSetNotifications, MovesWithinAndBeyondTheWindowScrollWhileItKeepsItsSize)
{
    addEmployee("1000000001", "A");
    addEmployee("1000000002", "B");
    addEmployee("1000000003", "C");
    std::vector<std::string> log;
    RecordingLink link("l", log);
    link.SetBufferCount(2);
    link.SetDataSource(&dm().DSdatapeg);
    peg().First();
    log.clear();
    peg().Next();
    peg().Next();
    EXPECT_EQ(log, (std::vector<std::string>{"l: check", "l: scroll 0", "l: check", "l: scroll 1"}));
}

}  // namespace

namespace {

// An open table that goes away before its data source must not reach its
// storage, and its links see it go inactive.
TEST(DataSetLifetime, AnOpenTableDestroyedBeforeItsSourceLeavesTheLinksInactive)
{
    TempDatabase db;
    TDataSource source("source");
    std::vector<std::string> log;
    RecordingLink grid("grid", log, true);
    grid.SetBufferCount(5);
    grid.SetDataSource(&source);
    {
        TTable codes("Tagama");
        codes.DatabaseName = "rekam_induk";
        codes.TableName = "Agama.db";
        source.SetDataSet(&codes);
        codes.Open();
        EXPECT_TRUE(grid.Active());
        EXPECT_EQ(grid.RecordCount(), 5);
    }
    EXPECT_FALSE(grid.Active());
    EXPECT_EQ(source.DataSet(), nullptr);
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(DataSetNotifications);
