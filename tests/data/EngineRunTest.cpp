// Reading a run of records at once must leave the same records and the same
// cursor place as reading them one step at a time.
#include "EngineTestTable.h"

namespace {

using Strings = std::vector<std::string>;

class EngineRun : public EngineTestTable {
protected:
    void SetUp() override
    {
        for (int i = 1; i <= 7; ++i)
            add("000000000" + std::to_string(i), "Nama " + std::to_string(8 - i));
    }

    // Places a cursor as the named place says: begin, end, on the n-th
    // record of the order, on the crack of a key, or after a deleted record.
    void place(EngineCursor& target, const std::string& where)
    {
        EngineRecord record;
        if (where == "begin") {
            ASSERT_TRUE(target.setToBegin().ok());
        } else if (where == "end") {
            ASSERT_TRUE(target.setToEnd().ok());
        } else if (where.rfind("on", 0) == 0) {
            ASSERT_TRUE(target.setToBegin().ok());
            for (int i = 0; i < std::stoi(where.substr(2)); ++i)
                ASSERT_TRUE(target.getNext(record).ok());
        } else if (where == "key") {
            ASSERT_TRUE(target.setToKey({std::string("0000000004")}, 1, false).ok());
        } else if (where == "after key") {
            ASSERT_TRUE(target.setToKey({std::string("0000000004")}, 1, true).ok());
        }
    }

    static Strings nips(const std::vector<EngineRecord>& records, int column)
    {
        Strings out;
        for (const EngineRecord& record : records)
            out.push_back(record.values[static_cast<size_t>(column)].value_or("<null>"));
        return out;
    }

    // The NIPs that two steps each way read from where target stands.
    static Strings around(EngineCursor& target, int column)
    {
        Strings out;
        EngineRecord record;
        auto read = [&](EngineStatus status) {
            out.push_back(status.ok() ? *record.values[static_cast<size_t>(column)]
                                      : std::to_string(static_cast<int>(status.code)));
        };
        read(target.getNext(record));
        read(target.getNext(record));
        read(target.getPrior(record));
        read(target.getPrior(record));
        read(target.getPrior(record));
        return out;
    }
};

TEST_P(EngineRun, RunsReadAndLeaveTheCursorAsSingleSteps)
{
    int nip = field("NIP");
    for (const std::string index : {"", "Nama_Pegawai"}) {
        for (const std::string where : {"begin", "end", "on1", "on4", "on7", "key", "after key"}) {
            for (bool forward : {true, false}) {
                for (int count : {0, 1, 2, 3, 6, 7, 10}) {
                    SCOPED_TRACE(index + " / " + where + (forward ? " forward " : " backward ") +
                                 std::to_string(count));
                    std::unique_ptr<EngineCursor> run, steps;
                    ASSERT_TRUE(cursor->cloneCursor(index, run).ok());
                    ASSERT_TRUE(cursor->cloneCursor(index, steps).ok());
                    place(*run, where);
                    place(*steps, where);
                    std::vector<EngineRecord> fast, slow;
                    ASSERT_TRUE((forward ? run->getNextRecords(count, fast) : run->getPriorRecords(count, fast)).ok());
                    ASSERT_TRUE((forward ? steps->EngineCursor::getNextRecords(count, slow)
                                         : steps->EngineCursor::getPriorRecords(count, slow))
                                    .ok());
                    EXPECT_EQ(nips(fast, nip), nips(slow, nip));
                    for (size_t i = 0; i < fast.size(); ++i)
                        EXPECT_EQ(fast[i].bookmark, slow[i].bookmark);
                    EXPECT_EQ(around(*run, nip), around(*steps, nip));
                }
            }
        }
    }
}

TEST_P(EngineRun, ARunAfterADeleteStartsAtTheCrack)
{
    ASSERT_TRUE(cursor->setToBegin().ok());
    EngineRecord record;
    ASSERT_TRUE(cursor->getNext(record).ok());
    ASSERT_TRUE(cursor->getNext(record).ok());
    ASSERT_TRUE(cursor->deleteRecord().ok());
    std::vector<EngineRecord> run;
    ASSERT_TRUE(cursor->getNextRecords(3, run).ok());
    EXPECT_EQ(nips(run, field("NIP")), (Strings{"0000000003", "0000000004", "0000000005"}));
    ASSERT_TRUE(cursor->getPriorRecords(10, run).ok());
    EXPECT_EQ(nips(run, field("NIP")), (Strings{"0000000004", "0000000003", "0000000001"}));
    EXPECT_EQ(next(), "0000000001");  // ran off the start: stands before the first
}

// A record read by one cursor and handed to another: that cursor stands on
// it as if it had sought it by bookmark, and reads the same runs around it;
// after the record is deleted it still stands in its place.
TEST_P(EngineRun, ARecordHandedOverIsStoodOnAsByItsBookmark)
{
    int nip = field("NIP");
    for (const std::string index : {"", "Nama_Pegawai"}) {
        for (const std::string where : {"on1", "on4", "on7"}) {
            SCOPED_TRACE(index + " / " + where);
            std::unique_ptr<EngineCursor> reader, handed, bookmarked;
            ASSERT_TRUE(cursor->cloneCursor(index, reader).ok());
            ASSERT_TRUE(cursor->cloneCursor(index, handed).ok());
            ASSERT_TRUE(cursor->cloneCursor(index, bookmarked).ok());
            place(*reader, where);
            EngineRecord record;
            ASSERT_TRUE(reader->getRecord(record).ok());
            ASSERT_TRUE(handed->setToRecord(record).ok());
            ASSERT_TRUE(bookmarked->setToBookmark(record.bookmark).ok());
            EngineRecord read;
            ASSERT_TRUE(handed->getRecord(read).ok());
            EXPECT_EQ(read.values, record.values);
            EXPECT_EQ(around(*handed, nip), around(*bookmarked, nip));

            for (auto [before, after] : {std::pair{0, 0}, {2, 3}, {9, 9}}) {
                std::vector<EngineRecord> above, below, stepsAbove, stepsBelow;
                ASSERT_TRUE(handed->getRecordsAround(record, before, after, above, below).ok());
                ASSERT_TRUE(handed->getRecord(read).ok());
                EXPECT_EQ(read.bookmark, record.bookmark);  // back on the record
                ASSERT_TRUE(bookmarked->setToBookmark(record.bookmark).ok());
                ASSERT_TRUE(bookmarked->EngineCursor::getPriorRecords(before, stepsAbove).ok());
                ASSERT_TRUE(bookmarked->setToBookmark(record.bookmark).ok());
                ASSERT_TRUE(bookmarked->EngineCursor::getNextRecords(after, stepsBelow).ok());
                EXPECT_EQ(nips(above, nip), nips(stepsAbove, nip));
                EXPECT_EQ(nips(below, nip), nips(stepsBelow, nip));
            }
        }
    }
    // Gone since it was read: the cursor stands where it stood.
    std::unique_ptr<EngineCursor> handed;
    ASSERT_TRUE(cursor->cloneCursor("", handed).ok());
    place(*cursor, "on4");
    EngineRecord record;
    ASSERT_TRUE(cursor->getRecord(record).ok());
    ASSERT_TRUE(cursor->deleteRecord().ok());
    ASSERT_TRUE(handed->setToRecord(record).ok());
    EXPECT_EQ(handed->getRecord(record).code, EngineCode::RecordGone);
    EXPECT_EQ(around(*handed, field("NIP")),
              (Strings{"0000000005", "0000000006", "0000000005", "0000000003", "0000000002"}));
}

}  // namespace

INSTANTIATE_FOR_BOTH_ENGINES(EngineRun);
