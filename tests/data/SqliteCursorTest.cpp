#include "EngineTestTable.h"

using Strings = std::vector<std::string>;

TEST_P(EngineTestTable, MovesBothWaysAndStopsAtTheEnds)
{
    add("0000000003", "C");
    add("0000000001", "A");
    add("0000000002", "B");
    ASSERT_TRUE(cursor->setToBegin().ok());
    EXPECT_EQ(prior(), "BOF");
    EXPECT_EQ(forwards(), (Strings{"0000000001", "0000000002", "0000000003"}));
    EXPECT_EQ(next(), "EOF");
    EXPECT_EQ(backwards(), (Strings{"0000000003", "0000000002", "0000000001"}));
    EXPECT_EQ(current(), "");  // before the first: no current record
    ASSERT_TRUE(cursor->setToEnd().ok());
    EXPECT_EQ(prior(), "0000000003");
    EXPECT_EQ(prior(), "0000000002");
    EXPECT_EQ(next(), "0000000003");
}

TEST_P(EngineTestTable, MoveOffTheEndLeavesTheBufferUnchanged)
{
    add("0000000001", "A");
    ASSERT_TRUE(cursor->setToEnd().ok());
    EngineRecord record;
    record.values = {std::string("kept")};
    EXPECT_EQ(cursor->getNext(record).code, EngineCode::EndOfData);
    EXPECT_EQ(record.values, std::vector<FieldValue>{std::string("kept")});
}

TEST_P(EngineTestTable, EmptyTableHasNoRecords)
{
    EXPECT_EQ(next(), "EOF");
    EXPECT_EQ(prior(), "BOF");
    std::int64_t count = -1;
    ASSERT_TRUE(cursor->recordCount(count).ok());
    EXPECT_EQ(count, 0);
}

TEST_P(EngineTestTable, DeleteLeavesACrackBetweenNeighbours)
{
    for (std::string nip : {"0000000001", "0000000002", "0000000003"})
        add(nip, "N" + nip);
    ASSERT_TRUE(cursor->setToBegin().ok());
    next();
    EXPECT_EQ(next(), "0000000002");
    ASSERT_TRUE(cursor->deleteRecord().ok());
    EXPECT_EQ(current(), "");
    EXPECT_EQ(next(), "0000000003");

    ASSERT_TRUE(cursor->deleteRecord().ok());  // the last record
    EXPECT_EQ(next(), "EOF");
    ASSERT_TRUE(cursor->setToEnd().ok());
    EXPECT_EQ(prior(), "0000000001");
    ASSERT_TRUE(cursor->deleteRecord().ok());
    EXPECT_EQ(prior(), "BOF");
    EXPECT_EQ(next(), "EOF");
}

TEST_P(EngineTestTable, DeleteOfARecordAlreadyGoneReportsGone)
{
    add("0000000001", "A");
    std::unique_ptr<EngineCursor> other;
    ASSERT_TRUE(cursor->cloneCursor("", other).ok());
    EngineRecord record;
    ASSERT_TRUE(other->getNext(record).ok());
    ASSERT_TRUE(cursor->deleteRecord().ok());
    EXPECT_EQ(other->deleteRecord().code, EngineCode::RecordGone);
    EXPECT_EQ(other->getRecord(record).code, EngineCode::RecordNotFound);
}

TEST_P(EngineTestTable, CurrentRecordDeletedElsewhereIsGoneButTheCursorMovesOn)
{
    for (std::string nip : {"0000000001", "0000000002", "0000000003"})
        add(nip, "N" + nip);
    std::unique_ptr<EngineCursor> other;
    ASSERT_TRUE(cursor->cloneCursor("", other).ok());
    ASSERT_TRUE(cursor->setToBegin().ok());
    next();
    next();
    ASSERT_TRUE(other->setToBegin().ok());
    EngineRecord record;
    ASSERT_TRUE(other->getNext(record).ok());
    ASSERT_TRUE(other->getNext(record).ok());
    ASSERT_TRUE(other->deleteRecord().ok());
    EXPECT_EQ(cursor->getRecord(record).code, EngineCode::RecordGone);
    EXPECT_EQ(next(), "0000000003");
}

TEST_P(EngineTestTable, NameIndexIgnoresCaseAndOrdersDuplicatesByNip)
{
    addNames();
    ASSERT_TRUE(cursor->switchToIndex("Nama_Pegawai", false).ok());
    EXPECT_EQ(cursor->currentIndex().name, "Nama_Pegawai");
    EXPECT_EQ(forwards(),
              (Strings{"0000000002", "0000000003", "0000000004", "0000000005", "0000000006", "0000000001"}));
    EXPECT_EQ(backwards(),
              (Strings{"0000000001", "0000000006", "0000000005", "0000000004", "0000000003", "0000000002"}));
}

TEST_P(EngineTestTable, KarpegIndexOrdersDuplicatesByNip)
{
    add("0000000009", "A", "22222222");
    add("0000000001", "B", "33333333");
    add("0000000005", "C", "22222222");
    add("0000000007", "D", "11111111");
    ASSERT_TRUE(cursor->switchToIndex("karpeg", false).ok());
    EXPECT_EQ(forwards(), (Strings{"0000000007", "0000000005", "0000000009", "0000000001"}));
}

struct SeekCase {
    const char* name;
    const char* key;
    bool after;
    const char* next;   // NIP read by getNext after the seek
    const char* prior;  // NIP read by getPrior after the same seek
};

class SeekTest : public EngineTestTableBase, public ::testing::WithParamInterface<std::tuple<TestEngine, SeekCase>> {
protected:
    SeekTest() : EngineTestTableBase(std::get<0>(GetParam())) {}
};

TEST_P(SeekTest, SetToKeyLandsOnTheCrack)
{
    const SeekCase& c = std::get<1>(GetParam());
    addNames();
    ASSERT_TRUE(cursor->switchToIndex("Nama_Pegawai", false).ok());
    ASSERT_TRUE(cursor->setToKey({std::string(c.key)}, 1, c.after).ok());
    EXPECT_EQ(current(), "");
    EXPECT_EQ(next(), c.next);
    ASSERT_TRUE(cursor->setToKey({std::string(c.key)}, 1, c.after).ok());
    EXPECT_EQ(prior(), c.prior);
}

// Names in index order: ani(2) BUDI SANTOSO(3) Budi Santoso(4) budi santoso(5) Budiman(6) Citra(1).
INSTANTIATE_TEST_SUITE_P(
    Seeks, SeekTest,
    ::testing::Combine(
        ::testing::Values(TestEngine::Files, TestEngine::Server),
        ::testing::Values(SeekCase{"EmptyKeyIsFirst", "", false, "0000000002", "BOF"},
                          SeekCase{"LeadingPartSortsLower", "bud", false, "0000000003", "0000000002"},
                          SeekCase{"LeadingPartAfterStillBefore", "BUD", true, "0000000003", "0000000002"},
                          SeekCase{"EqualKeysAnyCase", "budi santoso", false, "0000000003", "0000000002"},
                          SeekCase{"AfterSkipsEqualKeys", "Budi Santoso", true, "0000000006", "0000000005"},
                          SeekCase{"BetweenNames", "bz", false, "0000000001", "0000000006"},
                          SeekCase{"PastEveryName", "zz", false, "EOF", "0000000001"},
                          SeekCase{"BeforeEveryName", "a", false, "0000000002", "BOF"})),
    [](const ::testing::TestParamInfo<std::tuple<TestEngine, SeekCase>>& info) {
        return std::string(std::get<0>(info.param) == TestEngine::Files ? "Files_" : "Server_") +
               std::get<1>(info.param).name;
    });

TEST_P(EngineTestTable, SetToKeyOnThePrimaryIndexComparesExactly)
{
    add("0000000010", "A");
    add("0000000020", "B");
    ASSERT_TRUE(cursor->setToKey({std::string("000000001")}, 1, false).ok());
    EXPECT_EQ(next(), "0000000010");
    ASSERT_TRUE(cursor->setToKey({std::string("0000000010")}, 1, true).ok());
    EXPECT_EQ(next(), "0000000020");
}

TEST_P(EngineTestTable, FindKeyMatchesWholeValuesOnly)
{
    addNames();
    ASSERT_TRUE(cursor->switchToIndex("Nama_Pegawai", false).ok());
    ASSERT_TRUE(cursor->setToBegin().ok());
    EXPECT_EQ(next(), "0000000002");

    EXPECT_EQ(cursor->findKey({std::string("Budi")}, 1).code, EngineCode::RecordNotFound);
    EXPECT_EQ(current(), "0000000002");  // not moved
    ASSERT_TRUE(cursor->findKey({std::string("BUDI santoso")}, 1).ok());
    EXPECT_EQ(current(), "0000000003");  // the first of the equal names
    ASSERT_TRUE(cursor->findKey({std::string("budiman")}, 1).ok());
    EXPECT_EQ(current(), "0000000006");

    ASSERT_TRUE(cursor->switchToIndex("", false).ok());
    EXPECT_EQ(cursor->findKey({std::string("000000000")}, 1).code, EngineCode::RecordNotFound);
    ASSERT_TRUE(cursor->findKey({std::string("0000000004")}, 1).ok());
    EXPECT_EQ(current(), "0000000004");
    EXPECT_EQ(next(), "0000000005");
}

TEST_P(EngineTestTable, SwitchingIndexKeepsTheRecord)
{
    addNames();
    ASSERT_TRUE(cursor->findKey({std::string("0000000004")}, 1).ok());
    ASSERT_TRUE(cursor->switchToIndex("Nama_Pegawai", true).ok());
    EXPECT_EQ(current(), "0000000004");
    EXPECT_EQ(next(), "0000000005");
    EXPECT_EQ(next(), "0000000006");
    ASSERT_TRUE(cursor->switchToIndex("", true).ok());
    EXPECT_EQ(current(), "0000000006");
    EXPECT_EQ(prior(), "0000000005");

    ASSERT_TRUE(cursor->switchToIndex("Karpeg", false).ok());
    EXPECT_EQ(current(), "");
    EXPECT_EQ(cursor->switchToIndex("Tanggal", true).code, EngineCode::NoSuchIndex);
    EXPECT_EQ(cursor->currentIndex().name, "Karpeg");
}

TEST_P(EngineTestTable, BookmarksAndCrackBefore)
{
    addNames();
    ASSERT_TRUE(cursor->findKey({std::string("0000000003")}, 1).ok());
    std::int64_t mark = 0;
    ASSERT_TRUE(cursor->getBookmark(mark).ok());
    ASSERT_TRUE(cursor->setToEnd().ok());
    EXPECT_EQ(cursor->getBookmark(mark).code, EngineCode::RecordNotFound);
    ASSERT_TRUE(cursor->setToBookmark(mark).ok());
    EXPECT_EQ(current(), "0000000003");
    ASSERT_TRUE(cursor->setToCrackBefore(mark).ok());
    EXPECT_EQ(next(), "0000000003");
    ASSERT_TRUE(cursor->setToCrackBefore(mark).ok());
    EXPECT_EQ(cursor->deleteRecord().code, EngineCode::RecordNotFound);  // a crack: nothing to delete
    EXPECT_EQ(prior(), "0000000002");
    EXPECT_EQ(cursor->setToBookmark(mark + 1000).code, EngineCode::RecordNotFound);
}

TEST_P(EngineTestTable, ExtractKeyGivesTheIndexFields)
{
    addNames();
    ASSERT_TRUE(cursor->switchToIndex("Nama_Pegawai", false).ok());
    EngineRecord record;
    ASSERT_TRUE(cursor->getNext(record).ok());
    std::vector<FieldValue> key;
    ASSERT_TRUE(cursor->extractKey(record, key).ok());
    EXPECT_EQ(key, std::vector<FieldValue>{std::string("ani Wulandari")});
}

TEST_P(EngineTestTable, InsertStandsOnTheNewRecordAndRefusesDuplicateKeys)
{
    add("0000000001", "A");
    add("0000000003", "C");
    add("0000000002", "B");
    EXPECT_EQ(current(), "0000000002");
    EXPECT_EQ(next(), "0000000003");

    EngineStatus status = add(*cursor, "0000000001", "Someone else");
    EXPECT_EQ(status.code, EngineCode::KeyViolation);
    EXPECT_NE(EDBEngineError::describe(status).find("Datapegawai.db"), std::string::npos);
    std::int64_t count = 0;
    ASSERT_TRUE(cursor->recordCount(count).ok());
    EXPECT_EQ(count, 3);
    ASSERT_TRUE(cursor->findKey({std::string("0000000001")}, 1).ok());
    EngineRecord record;
    ASSERT_TRUE(cursor->getRecord(record).ok());
    EXPECT_EQ(value(record, "Nama_Pegawai"), "A");
}

TEST_P(EngineTestTable, BlankRecordAndFieldsCutToSize)
{
    EngineRecord record;
    ASSERT_TRUE(cursor->initRecord(record).ok());
    ASSERT_EQ(record.values.size(), cursor->description().fields.size());
    for (const FieldValue& v : record.values)
        EXPECT_FALSE(v.has_value());
    ASSERT_TRUE(cursor->putField(record, field("Tempat_Lahir"), std::string("Kabupaten Kepulauan Seribu")).ok());
    EXPECT_EQ(value(record, "Tempat_Lahir"), "Kabupaten Kepulauan ");
    // Sizes count characters, not bytes.
    ASSERT_TRUE(cursor->putField(record, field("Kd_JK"), std::string("\xC3\xA9\xC3\xA9x")).ok());
    EXPECT_EQ(value(record, "Kd_JK"), "\xC3\xA9\xC3\xA9");
    EXPECT_EQ(cursor->putField(record, 99, std::string("x")).code, EngineCode::NoSuchField);

    ASSERT_TRUE(cursor->putField(record, field("NIP"), std::string("1234567890")).ok());
    ASSERT_TRUE(cursor->insertRecord(record).ok());
    ASSERT_TRUE(cursor->getRecord(record).ok());
    EXPECT_EQ(value(record, "Alamat"), "");               // text stored as ''
    EXPECT_EQ(value(record, "Tanggal_Lahir"), "<null>");  // an empty date is null
}

TEST_P(EngineTestTable, ModifyNeedsTheLockAndStoresTheRecord)
{
    add("0000000001", "Ani");
    add("0000000002", "Budi");
    EngineRecord record;
    ASSERT_TRUE(cursor->findKey({std::string("0000000001")}, 1).ok());
    ASSERT_TRUE(cursor->getRecord(record).ok());
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::NotLocked);

    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    ASSERT_TRUE(cursor->putField(record, field("NIP"), std::string("0000000002")).ok());
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::KeyViolation);  // lock still held
    ASSERT_TRUE(cursor->putField(record, field("NIP"), std::string("0000000003")).ok());
    ASSERT_TRUE(cursor->putField(record, field("Tanggal_Lahir"), std::string("1980-02-29")).ok());
    ASSERT_TRUE(cursor->modifyRecord(record).ok());
    EXPECT_EQ(current(), "0000000003");
    EXPECT_EQ(prior(), "0000000002");
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::NotLocked);  // released

    // Storing unchanged values is no change, and still ends the edit.
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    ASSERT_TRUE(cursor->modifyRecord(record).ok());
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::NotLocked);

    std::unique_ptr<EngineCursor> reopened = db.open("Datapegawai.db");
    ASSERT_TRUE(reopened->findKey({std::string("0000000003")}, 1).ok());
    ASSERT_TRUE(reopened->getRecord(record).ok());
    EXPECT_EQ(value(record, "Tanggal_Lahir"), "1980-02-29");
    EXPECT_EQ(reopened->findKey({std::string("0000000001")}, 1).code, EngineCode::RecordNotFound);
}

TEST_P(EngineTestTable, ALockedRecordRefusesAnotherCursor)
{
    add("0000000001", "Ani");
    std::unique_ptr<EngineCursor> other;
    ASSERT_TRUE(cursor->cloneCursor("Nama_Pegawai", other).ok());
    ASSERT_TRUE(cursor->setToBegin().ok());
    EngineRecord mine, theirs;
    ASSERT_TRUE(cursor->getNext(mine).ok());
    ASSERT_TRUE(other->getNext(theirs).ok());
    ASSERT_TRUE(cursor->getRecord(mine, EngineCursor::Lock::Write).ok());
    EngineStatus status = other->getRecord(theirs, EngineCursor::Lock::Write);
    EXPECT_EQ(status.code, EngineCode::RecordLocked);
    EXPECT_EQ(status.message, "Record locked by another user.");
    EXPECT_EQ(other->deleteRecord().code, EngineCode::RecordLocked);
    ASSERT_TRUE(cursor->releaseLock().ok());
    EXPECT_TRUE(other->getRecord(theirs, EngineCursor::Lock::Write).ok());
}

TEST_P(EngineTestTable, ModifyRefusesARecordChangedOrDeletedBehindTheLock)
{
    add("0000000001", "Ani");
    add("0000000002", "Budi");
    EngineRecord record;
    ASSERT_TRUE(cursor->findKey({std::string("0000000001")}, 1).ok());
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    // A writer that ignores the locks (another tool on the same tables).
    db.runSql("Datapegawai.db", "UPDATE {table} SET \"Alamat\" = 'Jl. Merdeka' WHERE \"NIP\" = '0000000001'");
    ASSERT_TRUE(cursor->putField(record, field("Nama_Pegawai"), std::string("Ani W.")).ok());
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::RecordChanged);

    ASSERT_TRUE(cursor->findKey({std::string("0000000002")}, 1).ok());
    ASSERT_TRUE(cursor->getRecord(record, EngineCursor::Lock::Write).ok());
    db.runSql("Datapegawai.db", "DELETE FROM {table} WHERE \"NIP\" = '0000000002'");
    EXPECT_EQ(cursor->modifyRecord(record).code, EngineCode::RecordDeleted);

    std::unique_ptr<EngineCursor> check = db.open("Datapegawai.db");
    ASSERT_TRUE(check->findKey({std::string("0000000001")}, 1).ok());
    ASSERT_TRUE(check->getRecord(record).ok());
    EXPECT_EQ(value(record, "Nama_Pegawai"), "Ani");
    EXPECT_EQ(value(record, "Alamat"), "Jl. Merdeka");
}

TEST_P(EngineTestTable, ClonedCursorsMoveIndependently)
{
    addNames();
    std::unique_ptr<EngineCursor> byName;
    ASSERT_TRUE(cursor->cloneCursor("Nama_Pegawai", byName).ok());
    EngineRecord record;
    ASSERT_TRUE(cursor->setToBegin().ok());
    EXPECT_EQ(next(), "0000000001");
    ASSERT_TRUE(byName->getNext(record).ok());
    EXPECT_EQ(value(record, "NIP"), "0000000002");
    EXPECT_EQ(next(), "0000000002");
    EXPECT_EQ(cursor->currentIndex().fieldList(), "NIP");
}

TEST_P(EngineTestTable, FilteredScanFindsExactValuesInCursorOrder)
{
    add("0000000003", "Budi", "11111111");
    add("0000000001", "budi", "11111111");
    add("0000000002", "Budi", "22222222");
    EngineRecord record;
    ASSERT_TRUE(cursor->findFiltered({field("Nama_Pegawai")}, {std::string("Budi")}, record).ok());
    EXPECT_EQ(value(record, "NIP"), "0000000002");  // exact case, first in NIP order
    ASSERT_TRUE(cursor
                    ->findFiltered({field("Nama_Pegawai"), field("Karpeg")},
                                   {std::string("Budi"), std::string("11111111")}, record)
                    .ok());
    EXPECT_EQ(value(record, "NIP"), "0000000003");
    EXPECT_EQ(cursor->findFiltered({field("Nama_Pegawai")}, {std::string("BUDI")}, record).code,
              EngineCode::RecordNotFound);
    EXPECT_EQ(current(), "0000000002");  // the cursor did not move
}

class CodeTables : public ::testing::TestWithParam<TestEngine> {};

TEST_P(CodeTables, HoldTheOfficeCodes)
{
    TempDatabase db{TempDatabase::Tables::Default, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(db);
    std::unique_ptr<EngineCursor> religions = db.open("Agama.db");
    EngineRecord record;
    ASSERT_TRUE(religions->findFiltered({0}, {std::string("06")}, record).ok());
    EXPECT_EQ(record.values[1], std::string("Khonghucu"));
    std::unique_ptr<EngineCursor> grades = db.open("Golongan.db");
    std::int64_t count = 0;
    ASSERT_TRUE(grades->recordCount(count).ok());
    EXPECT_EQ(count, 17);
    ASSERT_TRUE(grades->setToEnd().ok());
    ASSERT_TRUE(grades->getPrior(record).ok());
    EXPECT_EQ(record.values, (std::vector<FieldValue>{std::string("4E"), std::string("IV/e")}));
}

TEST_P(EngineTestTable, BrokenBytesAreCutToSizeAndNeverStored)
{
    // A megabyte of continuation bytes is a megabyte of broken characters,
    // not one character: the 25-character name keeps 25 of them.
    EngineRecord record;
    ASSERT_TRUE(cursor->initRecord(record).ok());
    ASSERT_TRUE(cursor->putField(record, field("NIP"), std::string("0000000001")).ok());
    ASSERT_TRUE(cursor->putField(record, field("Nama_Pegawai"), std::string(1 << 20, '\x80')).ok());
    EXPECT_EQ(value(record, "Nama_Pegawai").size(), 25u);
    // Text that is not UTF-8 is refused by either engine, naming the field.
    EngineStatus status = cursor->insertRecord(record);
    EXPECT_EQ(status.code, EngineCode::InvalidText);
    EXPECT_EQ(status.message.rfind("Field 'Nama_Pegawai' is not UTF-8 (byte 0x80 at byte 1)", 0), 0u) << status.message;
    std::int64_t count = -1;
    ASSERT_TRUE(cursor->recordCount(count).ok());
    EXPECT_EQ(count, 0);
}

INSTANTIATE_FOR_BOTH_ENGINES(EngineTestTable);
INSTANTIATE_FOR_BOTH_ENGINES(CodeTables);
