// A reading of a table's records through a cursor of its own.
#include "BothEngines.h"
#include "DataModuleFixture.h"
#include "RecordingLink.h"

namespace {

using DataSetReading = DataModuleFixture;

TEST_F(DataSetReading, ReadsEveryRecordInTheCurrentOrderingAndLeavesTheTableAndItsLinksAlone)
{
    addEmployee("1000000003", "Ani", {{"Kd_Agama", "01"}});
    addEmployee("1000000001", "Citra", {{"Kd_Agama", "02"}});
    addEmployee("1000000002", "Budi", {{"Kd_Agama", "01"}});
    peg().SetIndexFieldNames("Nama_Pegawai");
    peg().First();
    peg().Next();  // on Budi
    std::vector<std::string> log;
    RecordingLink link("l", log);
    link.SetDataSource(&dm().DSdatapeg);
    log.clear();

    std::unique_ptr<RecordReader> reader = peg().OpenReader();
    ASSERT_NE(reader, nullptr);
    TField* name = peg().FieldByName("Nama_Pegawai");
    TField* religion = peg().FieldByName("Agama");  // a lookup field
    std::vector<std::string> names, religions;
    RecordBuffer row;
    while (peg().ReadRecord(*reader, row)) {
        const RecordBuffer* saved = peg().SelectBuffer(&row);
        names.push_back(name->AsString());
        religions.push_back(religion->DisplayText());
        peg().SelectBuffer(saved);
        // the user moves the table between two records
        peg().Last();
        ASSERT_EQ(current("Nama_Pegawai"), "Citra");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Ani", "Budi", "Citra"}));
    EXPECT_EQ(religions[0], religions[1]);
    EXPECT_NE(religions[0], religions[2]);
    EXPECT_FALSE(religions[0].empty());
    // the reading itself told the link nothing: only the user's moves did
    for (const std::string& line : log)
        EXPECT_TRUE(line == "l: check" || line == "l: scroll 0" || line == "l: scroll 1" || line == "l: dataset")
            << line;
    // a field reads the window again once the buffer is let go
    EXPECT_EQ(name->AsString(), "Citra");
}

TEST_F(DataSetReading, ReadingAnEmptyTableEndsAtOnce)
{
    std::unique_ptr<RecordReader> reader = peg().OpenReader();
    ASSERT_NE(reader, nullptr);
    RecordBuffer row;
    EXPECT_FALSE(peg().ReadRecord(*reader, row));
}

using DataSetReadingInRuns = OnBothEngines<DataModuleFixture>;

// A reading fetches its records a run at a time; the runs join without a
// record lost or read twice.
TEST_P(DataSetReadingInRuns, ReadsEveryRecordOnceAcrossRuns)
{
    constexpr int count = 600;
    for (int n = count; n >= 1; --n)
        addEmployee(std::to_string(1000000000 + n), "Pegawai " + std::to_string(n));
    std::unique_ptr<RecordReader> reader = peg().OpenReader();
    ASSERT_NE(reader, nullptr);
    TField* nip = peg().FieldByName("NIP");
    std::vector<std::string> read;
    RecordBuffer row;
    while (peg().ReadRecord(*reader, row)) {
        const RecordBuffer* saved = peg().SelectBuffer(&row);
        read.push_back(nip->AsString());
        peg().SelectBuffer(saved);
    }
    ASSERT_EQ(read.size(), static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n)
        ASSERT_EQ(read[n - 1], std::to_string(1000000000 + n)) << n;
    EXPECT_FALSE(peg().ReadRecord(*reader, row));
}

INSTANTIATE_FOR_BOTH_ENGINES(DataSetReadingInRuns);

}  // namespace
