#include "DataModuleFixture.h"
#include "EDBEngineError.h"
#include "TDataLink.h"

namespace {

using DataSetEditing = OnBothEngines<DataModuleFixture>;

TEST_P(DataSetEditing, OpensEveryTableBrowsingItsFirstRecord)
{
    for (TTable* table : dm().Tables()) {
        EXPECT_EQ(table->State(), TDataSetState::dsBrowse) << table->Name();
        EXPECT_TRUE(table->Bof()) << table->Name();
    }
    EXPECT_TRUE(peg().IsEmpty());
    EXPECT_TRUE(peg().Eof());
    EXPECT_EQ(dm().Tagama.FieldByName("Kd_Agama")->AsString(), "01");
    EXPECT_EQ(dm().Tagama.Fields().size(), 2u);
}

TEST_P(DataSetEditing, ModifiedAppendIsStoredByMovingAndUnchangedAppendVanishes)
{
    addEmployee("1000000002", "Budi");
    peg().Append();
    peg().FieldByName("NIP")->SetText("1000000001");
    EXPECT_TRUE(peg().Modified());
    peg().Prior();  // stores, then moves from the stored place (first in NIP order)
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(current(), "1000000001");
    EXPECT_TRUE(peg().Bof());
    EXPECT_EQ(peg().RecordCount(), 2);

    peg().Append();
    EXPECT_FALSE(peg().Modified());
    peg().First();
    EXPECT_EQ(peg().RecordCount(), 2);
    EXPECT_EQ(order(), (std::vector<std::string>{"1000000001", "1000000002"}));
}

TEST_P(DataSetEditing, UnchangedAppendIsRefusedWithoutAKeyThenKeyViolationKeepsValues)
{
    peg().Append();
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().Post()), "Field 'NIP' must have a value");
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_EQ(peg().RecordCount(), 0);
    peg().FieldByName("NIP")->SetText("1000000009");
    peg().Post();
    EXPECT_EQ(peg().RecordCount(), 1);

    peg().Append();
    peg().FieldByName("NIP")->SetText("1000000009");
    peg().FieldByName("Nama_Pegawai")->SetText("Kedua");
    EXPECT_THROW(peg().Post(), EDBEngineError);
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_EQ(current("Nama_Pegawai"), "Kedua");
    peg().FieldByName("NIP")->SetText("1000000008");
    peg().Post();
    EXPECT_EQ(peg().RecordCount(), 2);
}

TEST_P(DataSetEditing, InsertWhilePendingNewRecordStoresItFirstAndStartsInFrontOfIt)
{
    addEmployee("1000000001", "A");
    addEmployee("1000000005", "E");
    peg().Insert();
    peg().FieldByName("NIP")->SetText("1000000003");
    peg().Insert();
    EXPECT_EQ(peg().State(), TDataSetState::dsInsert);
    EXPECT_EQ(current(), "");
    EXPECT_EQ(peg().RecordCount(), 3);
    peg().Cancel();
    EXPECT_EQ(current(), "1000000003");  // the record it stood in front of
}

TEST_P(DataSetEditing, CancelOfAppendReturnsToLastAndCancelInBrowseDoesNothing)
{
    addEmployee("1000000001", "A");
    addEmployee("1000000002", "B");
    peg().First();
    peg().Append();
    peg().Cancel();
    EXPECT_EQ(current(), "1000000002");
    EXPECT_NO_THROW(peg().Cancel());
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
}

TEST_P(DataSetEditing, PostOutsideEditingFailsWithTheTableName)
{
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().Post()), "Tdatapeg: Dataset not in edit or insert mode");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().FieldByName("NIP")->SetText("1")),
              "Tdatapeg: Dataset not in edit or insert mode");
}

TEST_P(DataSetEditing, EditReadsUnderLockAndPostStoresChange)
{
    addEmployee("1000000001", "A");
    peg().Edit();
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    peg().FieldByName("Nama_Pegawai")->SetText("Anwar");
    peg().Post();
    peg().Close();
    peg().Open();
    EXPECT_EQ(current("Nama_Pegawai"), "Anwar");
}

TEST_P(DataSetEditing, ChangingTheKeyOfAnEditedRecordMovesItToItsNewPlace)
{
    addEmployee("1000000001", "A");
    addEmployee("1000000002", "B");
    addEmployee("1000000003", "C");
    peg().First();
    peg().Edit();
    peg().FieldByName("NIP")->SetText("1000000009");
    peg().Post();
    EXPECT_EQ(current(), "1000000009");
    peg().Next();
    EXPECT_TRUE(peg().Eof());
    EXPECT_EQ(order(), (std::vector<std::string>{"1000000002", "1000000003", "1000000009"}));
}

TEST_P(DataSetEditing, DeleteKeepsTheNeighbourCurrent)
{
    addEmployee("1000000001", "A");
    addEmployee("1000000002", "B");
    addEmployee("1000000003", "C");
    peg().First();
    peg().Next();
    peg().Delete();
    EXPECT_EQ(current(), "1000000003");  // the one that followed
    peg().Delete();
    EXPECT_EQ(current(), "1000000001");  // deleted the last: the new last
    peg().Delete();
    EXPECT_TRUE(peg().IsEmpty());
    EXPECT_EQ(current(), "");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().Delete()), "Tdatapeg: Cannot perform this operation on an empty dataset");
}

TEST_P(DataSetEditing, DeleteWhileInsertingDropsOnlyTheNewRecord)
{
    addEmployee("1000000001", "A");
    peg().Append();
    peg().FieldByName("NIP")->SetText("1000000002");
    peg().Delete();
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(peg().RecordCount(), 1);
    EXPECT_EQ(current(), "1000000001");
}

TEST_P(DataSetEditing, DeleteInEditDiscardsTheChanges)
{
    addEmployee("1000000001", "A");
    addEmployee("1000000002", "B");
    peg().First();
    peg().Edit();
    peg().FieldByName("Nama_Pegawai")->SetText("changed");
    peg().Delete();
    EXPECT_EQ(peg().State(), TDataSetState::dsBrowse);
    EXPECT_EQ(order(), (std::vector<std::string>{"1000000002"}));
}

TEST_P(DataSetEditing, ClosedTableRefusesOperations)
{
    peg().Close();
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().First()), "Tdatapeg: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().Delete()), "Tdatapeg: Cannot perform this operation on a closed dataset");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().Append()), "Tdatapeg: Cannot perform this operation on a closed dataset");
}

TEST_P(DataSetEditing, FieldsByNameAndTheirTextConversions)
{
    EXPECT_EQ(peg().FieldByName("nama_pegawai"), dm().TdatapegNama_Pegawai);
    EXPECT_EQ(peg().FieldByName("JENIS KELAMIN"), dm().TdatapegJenisKelamin);
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().FieldByName("Nope")), "Tdatapeg: Field 'Nope' not found");

    peg().Append();
    peg().FieldByName("Tempat_Lahir")->SetText("Kabupaten Tulungagung Timur");  // 27 characters
    EXPECT_EQ(current("Tempat_Lahir"), "Kabupaten Tulungagun");
    peg().FieldByName("Tanggal_Lahir")->SetText("17/08/1945");
    EXPECT_EQ(peg().FieldByName("Tanggal_Lahir")->DisplayText(), "17/08/1945");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().FieldByName("Tanggal_Lahir")->SetText("31/02/1990")),
              "'31/02/1990' is not a valid date");
    EXPECT_EQ(peg().FieldByName("Tanggal_Lahir")->DisplayText(), "17/08/1945");
    peg().FieldByName("Tanggal_Lahir")->SetText("");
    EXPECT_TRUE(peg().FieldByName("Tanggal_Lahir")->IsNull());
    EXPECT_THROW(peg().FieldByName("Tanggal_Lahir")->SetText("   "), std::exception);
    peg().FieldByName("NIP")->SetText("1234567890");
    EXPECT_EQ(peg().FieldByName("NIP")->DisplayText(), "1234567890");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().FieldByName("Agama")->SetText("Islam")), "Field 'Agama' cannot be modified");
}

TEST_P(DataSetEditing, AnElevenDigitNumberFitsOnlyTheTransferTable)
{
    peg().Append();
    peg().FieldByName("NIP")->SetText("12345678901");
    EXPECT_EQ(current(), "1234567890");
    dm().Tmutasi.Append();
    dm().Tmutasi.FieldByName("NIP")->SetText("12345678901");
    EXPECT_EQ(dm().Tmutasi.FieldByName("NIP")->AsString(), "12345678901");
}

TEST_P(DataSetEditing, ALinkThatRejectsItsTextStopsTheMoveAndKeepsEditing)
{
    struct RejectingLink : TDataLink {
        void UpdateData() override { throw EDatabaseError("rejected"); }
    } link;
    addEmployee("1000000001", "A");
    addEmployee("1000000002", "B");
    peg().First();
    link.SetDataSource(&dm().DSdatapeg);
    peg().Edit();
    peg().FieldByName("Nama_Pegawai")->SetText("X");
    EXPECT_EQ(DATABASE_ERROR_TEXT(peg().Next()), "rejected");
    EXPECT_EQ(peg().State(), TDataSetState::dsEdit);
    EXPECT_EQ(current(), "1000000001");
    link.SetDataSource(nullptr);
    peg().Cancel();
    EXPECT_EQ(current("Nama_Pegawai"), "A");
}

TEST_P(DataSetEditing, ASecondCopyCannotEditALockedRecord)
{
    addEmployee("1000000001", "A");
    TDMarsipstaf other;
    other.Loaded();
    peg().Edit();
    EXPECT_THROW(other.Tdatapeg.Edit(), EDBEngineError);
    EXPECT_EQ(other.Tdatapeg.State(), TDataSetState::dsBrowse);
    peg().Cancel();
    other.Tdatapeg.Edit();
    EXPECT_EQ(other.Tdatapeg.State(), TDataSetState::dsEdit);
    other.Tdatapeg.Cancel();
}

}  // namespace

namespace {

// A locale that writes two-digit years must not move a birth date by a
// century when its text is written back.
TEST_P(DataSetEditing, BirthDateWrittenBackKeepsItsCentury)
{
    RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%y");
    addEmployee("1000000001", "A", {{"Tanggal_Lahir", "17/08/1945"}});
    TField* born = peg().FieldByName("Tanggal_Lahir");
    std::string shown = born->EditText();
    peg().Edit();
    born->SetText(shown);
    peg().Post();
    EXPECT_EQ(born->AsString(), "1945-08-17");
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(DataSetEditing);
