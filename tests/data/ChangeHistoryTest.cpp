#include "ChangeHistory.h"
#include "DataModuleFixture.h"

#include <algorithm>

namespace {

using Field = std::tuple<std::string, FieldValue, FieldValue>;

class ChangeHistoryOnFiles : public DataModuleFixture {
protected:
    std::vector<HistoryRow> history(const std::string& key) { return peg().History(HistoryQuery{key, ""}); }

    // The rows of the newest entry of key, as (field, old, new).
    std::vector<Field> newest(const std::string& key, HistoryRow* first = nullptr)
    {
        std::vector<Field> fields;
        std::vector<HistoryRow> rows = history(key);
        for (const HistoryRow& row : rows)
            if (row.entry == rows.front().entry)
                fields.emplace_back(row.field, row.oldValue, row.newValue);
        if (first && !rows.empty())
            *first = rows.front();
        return fields;
    }
    std::string account() const { return engine() == TestEngine::Files ? ChangeHistory::fileAccount() : std::string(); }
};

using ChangeHistoryOfEmployees = OnBothEngines<ChangeHistoryOnFiles>;

TEST_P(ChangeHistoryOfEmployees, EachKindOfChangeIsReadBack)
{
    addEmployee("1000000001", "Siti Rahma", {{"Kd_Pangkat", "03"}, {"Tanggal_Lahir", "02/01/1980"}});
    HistoryRow entry;
    EXPECT_EQ(newest("1000000001", &entry), (std::vector<Field>{{"NIP", std::nullopt, "1000000001"},
                                                                {"Nama_Pegawai", std::nullopt, "Siti Rahma"},
                                                                {"Tanggal_Lahir", std::nullopt, "1980-01-02"},
                                                                {"Kd_Pangkat", std::nullopt, "03"}}));
    EXPECT_EQ(entry.kind, ChangeHistory::added);
    EXPECT_EQ(entry.tableName, "Datapegawai.db");
    EXPECT_EQ(entry.time.size(), 24u) << entry.time;
    if (engine() == TestEngine::Files)
        EXPECT_EQ(entry.account, account());
    else
        EXPECT_FALSE(entry.account.empty());

    peg().Edit();
    peg().FieldByName("Kd_Pangkat")->SetText("04");
    peg().FieldByName("Alamat")->SetText("Jl. Merdeka 1");
    peg().Post();
    EXPECT_EQ(newest("1000000001", &entry),
              (std::vector<Field>{{"Alamat", "", "Jl. Merdeka 1"}, {"Kd_Pangkat", "03", "04"}}));
    EXPECT_EQ(entry.kind, ChangeHistory::changed);
    EXPECT_EQ(entry.oldKey, "");

    // A post that changes nothing leaves no entry.
    size_t rows = history("1000000001").size();
    peg().Edit();
    peg().Post();
    EXPECT_EQ(history("1000000001").size(), rows);

    // A new key: one entry naming both keys.
    peg().Edit();
    peg().FieldByName("NIP")->SetText("1000000009");
    peg().Post();
    EXPECT_EQ(newest("1000000009", &entry), (std::vector<Field>{{"NIP", "1000000001", "1000000009"}}));
    EXPECT_EQ(entry.kind, ChangeHistory::changed);
    EXPECT_EQ(entry.oldKey, "1000000001");
    EXPECT_EQ(history("1000000001").size(), rows);

    peg().Delete();
    EXPECT_EQ(newest("1000000009", &entry), (std::vector<Field>{{"NIP", "1000000009", std::nullopt},
                                                                {"Nama_Pegawai", "Siti Rahma", std::nullopt},
                                                                {"Tanggal_Lahir", "1980-01-02", std::nullopt},
                                                                {"Alamat", "Jl. Merdeka 1", std::nullopt},
                                                                {"Kd_Pangkat", "04", std::nullopt}}));
    EXPECT_EQ(entry.kind, ChangeHistory::deleted);

    // Newest first, entries numbered upwards, all of one record.
    std::vector<HistoryRow> all = peg().History(HistoryQuery{});
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(),
                               [](const HistoryRow& a, const HistoryRow& b) { return a.entry > b.entry; }));
    EXPECT_EQ(all.size(), 4u + 2u + 1u + 5u);
    EXPECT_TRUE(peg().History(HistoryQuery{std::nullopt, "2999-01-01"}).empty());
    EXPECT_EQ(peg().History(HistoryQuery{std::nullopt, "2000-01-01"}).size(), all.size());
}

TEST_P(ChangeHistoryOfEmployees, TransfersKeepTheirOwnAndCodeTablesNone)
{
    addTransfer("SKM/001", "1000000001", "Siti Rahma", {{"Asal", "Sindara"}});
    std::vector<HistoryRow> rows = mut().History(HistoryQuery{"SKM/001", ""});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].tableName, "Mutasi.db");
    EXPECT_TRUE(peg().History(HistoryQuery{}).empty());
    dm().Tagama.Edit();
    dm().Tagama.FieldByName("Agama")->SetText("Lain");
    dm().Tagama.Post();
    EXPECT_TRUE(dm().Tagama.History(HistoryQuery{}).empty());
}

INSTANTIATE_FOR_BOTH_ENGINES(ChangeHistoryOfEmployees);

}  // namespace
