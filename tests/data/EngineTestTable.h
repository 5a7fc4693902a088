#pragma once
// Helpers for the engine tests, on both engines: an employee table with a few records and
// short ways to read what a cursor shows.
#include "BothEngines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EngineTestTableBase : public ::testing::Test {
protected:
    explicit EngineTestTableBase(TestEngine engine) : db(TempDatabase::Tables::Default, engine) {}

    TempDatabase db;
    std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");

    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(db); }

    int field(const std::string& name) const { return cursor->description().fieldNumber(name); }

    EngineStatus add(EngineCursor& target, const std::string& nip, const std::string& name,
                     const std::string& karpeg = "")
    {
        EngineRecord record;
        EXPECT_TRUE(target.initRecord(record).ok());
        EXPECT_TRUE(target.putField(record, field("NIP"), nip).ok());
        EXPECT_TRUE(target.putField(record, field("Nama_Pegawai"), name).ok());
        EXPECT_TRUE(target.putField(record, field("Karpeg"), karpeg).ok());
        return target.insertRecord(record);
    }
    void add(const std::string& nip, const std::string& name, const std::string& karpeg = "")
    {
        ASSERT_TRUE(add(*cursor, nip, name, karpeg).ok());
    }

    std::string value(const EngineRecord& record, const std::string& name) const
    {
        return record.values[static_cast<size_t>(field(name))].value_or("<null>");
    }
    // The NIP of the current record, or "" when there is none.
    std::string current()
    {
        EngineRecord record;
        return cursor->getRecord(record).ok() ? value(record, "NIP") : std::string();
    }
    std::string next()
    {
        EngineRecord record;
        EngineStatus status = cursor->getNext(record);
        return status.ok() ? value(record, "NIP") : status.code == EngineCode::EndOfData ? "EOF" : status.message;
    }
    std::string prior()
    {
        EngineRecord record;
        EngineStatus status = cursor->getPrior(record);
        return status.ok() ? value(record, "NIP") : status.code == EngineCode::BeginOfData ? "BOF" : status.message;
    }
    // Every NIP from the current position on, forwards or backwards.
    std::vector<std::string> forwards()
    {
        std::vector<std::string> seen;
        for (std::string nip = next(); nip != "EOF" && seen.size() < 100; nip = next())
            seen.push_back(nip);
        return seen;
    }
    std::vector<std::string> backwards()
    {
        std::vector<std::string> seen;
        for (std::string nip = prior(); nip != "BOF" && seen.size() < 100; nip = prior())
            seen.push_back(nip);
        return seen;
    }
    // Names of the Nama_Pegawai index, with a few that differ in case only.
    void addNames()
    {
        add("0000000005", "budi santoso");
        add("0000000001", "Citra Lestari");
        add("0000000004", "Budi Santoso");
        add("0000000002", "ani Wulandari");
        add("0000000003", "BUDI SANTOSO");
        add("0000000006", "Budiman");
    }
};

class EngineTestTable : public EngineTestTableBase, public ::testing::WithParamInterface<TestEngine> {
protected:
    EngineTestTable() : EngineTestTableBase(GetParam()) {}
};
