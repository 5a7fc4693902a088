#include "DataModuleFixture.h"
#include "TField.h"

// The two record tables require their key: a record whose NIP (employee) or
// No_SKM (transfer) is blank is never stored. A masked key that holds only
// its literals and spaces, as a blank masked entry writes it, is blank too.
namespace {

using RequiredKeyField = DataModuleFixture;

struct BlankKeyCase {
    const char* name;
    bool employee;
    const char* key;  // as set; nullptr leaves the new record's key untouched
};

std::ostream& operator<<(std::ostream& os, const BlankKeyCase& c)
{
    return os << c.name;
}

const BlankKeyCase blankKeys[] = {
    {"EmployeeUntouched", true, nullptr},   {"EmployeeEmpty", true, ""},
    {"EmployeeSpaces", true, "          "}, {"TransferUntouched", false, nullptr},
    {"TransferEmpty", false, ""},           {"TransferLiteralsAndSpaces", false, " -    -  .  .  -    "},
    {"TransferSpaces", false, "    "},
};

class RequiredKeyRefusal : public DataModuleFixture, public ::testing::WithParamInterface<BlankKeyCase> {};

TEST_P(RequiredKeyRefusal, PostFailsWithTheFieldsErrorAndStoresNothing)
{
    const BlankKeyCase& c = GetParam();
    TTable& table = c.employee ? peg() : mut();
    const char* keyName = c.employee ? "NIP" : "No_SKM";
    table.Append();
    table.FieldByName("Nama_Pegawai")->SetText("Baru");
    if (c.key)
        table.FieldByName(keyName)->SetText(c.key);
    EXPECT_EQ(DATABASE_ERROR_TEXT(table.Post()), std::string("Field '") + keyName + "' must have a value");
    EXPECT_EQ(table.State(), TDataSetState::dsInsert);
    EXPECT_EQ(table.FieldByName("Nama_Pegawai")->AsString(), "Baru");
    EXPECT_EQ(table.RecordCount(), 0);
    // The browse-mode check of a move refuses it the same way.
    EXPECT_EQ(DATABASE_ERROR_TEXT(table.First()), std::string("Field '") + keyName + "' must have a value");
    EXPECT_EQ(table.State(), TDataSetState::dsInsert);
    EXPECT_EQ(table.RecordCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(Keys, RequiredKeyRefusal, ::testing::ValuesIn(blankKeys),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RequiredKeyField, OnlyTheTwoKeysAreRequired)
{
    for (TTable* table : {&peg(), &mut()})
        for (const auto& field : table->Fields())
            EXPECT_EQ(field->Required, field.get() == dm().TdatapegNIP || field.get() == dm().TmutasiNo_SKM)
                << table->Name() << "." << field->FieldName();
}

TEST_F(RequiredKeyField, AKeyWithAnyDigitIsNotBlankAndTheRestMayBeEmpty)
{
    peg().Append();
    peg().FieldByName("NIP")->SetText("0         ");
    peg().Post();
    mut().Append();
    mut().FieldByName("No_SKM")->SetText(" -    -  .  .  -   7");
    mut().Post();
    EXPECT_EQ(peg().RecordCount(), 1);
    EXPECT_EQ(mut().RecordCount(), 1);
    EXPECT_EQ(peg().FieldByName("Nama_Pegawai")->AsString(), "");
}

}  // namespace
