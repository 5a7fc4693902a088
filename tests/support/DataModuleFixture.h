#pragma once
// A data module opened on a fresh temporary database (table files unless
// engine() says otherwise), with a day-month-year
// short date format. Helpers store employee records through the dataset.
#include "BothEngines.h"
#include "RegionalSettings.h"
#include "TDMarsipstaf.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class DataModuleFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedSettings_ = RegionalSettings::current();
        RegionalSettings::current() = RegionalSettings::fromDateFormat("%d/%m/%Y");
        db_ = std::make_unique<TempDatabase>(TempDatabase::Tables::Default, engine());
        dm_ = std::make_unique<TDMarsipstaf>();
        dm_->Loaded();
        SKIP_WITHOUT_TEST_SERVER(*db_);
    }

    // The engine the tables are on; OnBothEngines runs a suite on each.
    virtual TestEngine engine() const { return TestEngine::Files; }

    void TearDown() override
    {
        dm_.reset();
        db_.reset();
        RegionalSettings::current() = savedSettings_;
    }

    TDMarsipstaf& dm() { return *dm_; }
    TTable& peg() { return dm_->Tdatapeg; }

    // Appends and posts one employee; further values as name/text pairs.
    void addEmployee(const std::string& nip, const std::string& name,
                     const std::vector<std::pair<std::string, std::string>>& more = {})
    {
        peg().Append();
        peg().FieldByName("NIP")->SetText(nip);
        peg().FieldByName("Nama_Pegawai")->SetText(name);
        for (const auto& [field, text] : more)
            peg().FieldByName(field)->SetText(text);
        peg().Post();
    }

    TTable& mut() { return dm_->Tmutasi; }

    // Appends and posts one transfer record; further values as name/text pairs.
    void addTransfer(const std::string& skm, const std::string& nip, const std::string& name,
                     const std::vector<std::pair<std::string, std::string>>& more = {})
    {
        mut().Append();
        mut().FieldByName("No_SKM")->SetText(skm);
        mut().FieldByName("NIP")->SetText(nip);
        mut().FieldByName("Nama_Pegawai")->SetText(name);
        for (const auto& [field, text] : more)
            mut().FieldByName(field)->SetText(text);
        mut().Post();
    }

    std::string current(const std::string& field = "NIP") { return peg().FieldByName(field)->AsString(); }

    // NIPs from first to last in the current ordering; leaves the table at its end.
    std::vector<std::string> order(const std::string& field = "NIP")
    {
        std::vector<std::string> seen;
        for (peg().First(); !peg().Eof(); peg().Next())
            seen.push_back(current(field));
        return seen;
    }

    std::unique_ptr<TempDatabase> db_;
    std::unique_ptr<TDMarsipstaf> dm_;

private:
    RegionalSettings savedSettings_;
};

// A data module fixture (or one derived from it) run once per engine.
template <class Fixture>
class OnBothEngines : public Fixture, public ::testing::WithParamInterface<TestEngine> {
protected:
    TestEngine engine() const override { return this->GetParam(); }
};

// The text of the database error that statement throws ("" when none).
#define DATABASE_ERROR_TEXT(statement)                                                                                 \
    [&]() -> std::string {                                                                                             \
        try {                                                                                                          \
            statement;                                                                                                 \
        } catch (const std::exception& error) {                                                                        \
            return error.what();                                                                                       \
        }                                                                                                              \
        return std::string();                                                                                          \
    }()
