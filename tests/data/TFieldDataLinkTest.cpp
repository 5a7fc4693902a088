#include "TFieldDataLink.h"

#include "DataModuleFixture.h"

#include <string>
#include <vector>

namespace {

// A field link on the employee table that writes down what its owner hears.
class FieldDataLinkOnFiles : public DataModuleFixture {
protected:
    void SetUp() override
    {
        DataModuleFixture::SetUp();
        addEmployee("1957010101", "Ahmad Yani");
        link.ControlName = "DBEdit3";
        link.OnDataChange = [this] { log.push_back("data"); };
        link.OnEditingChange = [this] { log.push_back(link.Editing() ? "editing" : "not editing"); };
        link.OnUpdateData = [this] {
            log.push_back("update");
            link.Field()->SetText(pending);
        };
    }
    void bind(const std::string& field)
    {
        link.SetDataSource(&dm().DSdatapeg);
        link.SetFieldName(field);
        log.clear();
    }

    TFieldDataLink link;
    std::vector<std::string> log;
    std::string pending;
};

using FieldDataLink = OnBothEngines<FieldDataLinkOnFiles>;

TEST_P(FieldDataLink, RedisplaysForItsFieldAndTheWholeRecordOnly)
{
    bind("Nama_Pegawai");
    peg().Edit();
    peg().FieldByName("Alamat")->SetText("Jalan");
    peg().FieldByName("Nama_Pegawai")->SetText("Yani");
    EXPECT_EQ(log, (std::vector<std::string>{"editing", "data", "data"}));
}

TEST_P(FieldDataLink, EditingNeedsAModifiableField)
{
    bind("Agama");  // a lookup field
    EXPECT_FALSE(link.CanModify());
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    link.SetFieldName("Nama_Pegawai");
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
}

TEST_P(FieldDataLink, AutoEditOffLeavesTheTableBrowsing)
{
    dm().DSdatapeg.AutoEdit = false;
    bind("Nama_Pegawai");
    EXPECT_FALSE(link.Edit());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
}

TEST_P(FieldDataLink, WritesBackOnlyWhenModified)
{
    bind("Nama_Pegawai");
    link.Edit();
    peg().Post();
    EXPECT_EQ(std::count(log.begin(), log.end(), "update"), 0);
    link.Edit();
    link.Modified();
    pending = "Yani";
    peg().Post();
    EXPECT_EQ(std::count(log.begin(), log.end(), "update"), 1);
    EXPECT_EQ(current("Nama_Pegawai"), "Yani");
    EXPECT_FALSE(link.IsModified());
}

TEST_P(FieldDataLink, EditingChangeClearsTheModifiedFlag)
{
    bind("Nama_Pegawai");
    link.Edit();
    link.Modified();
    peg().Cancel();
    EXPECT_FALSE(link.IsModified());
}

TEST_P(FieldDataLink, MissingFieldNamesTheControl)
{
    link.SetDataSource(&dm().DSdatapeg);
    EXPECT_EQ(DATABASE_ERROR_TEXT(link.SetFieldName("Nope")), "DBEdit3: Field 'Nope' not found");
    EXPECT_EQ(link.Field(), nullptr);
}

TEST_P(FieldDataLink, ClosingTheTableUnbindsTheField)
{
    bind("Nama_Pegawai");
    peg().Close();
    EXPECT_EQ(link.Field(), nullptr);
    peg().Open();
    EXPECT_EQ(link.Field(), peg().FieldByName("Nama_Pegawai"));
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(FieldDataLink);
