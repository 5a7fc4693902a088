#include "ChangeHistory.h"
#include "DataModuleFixture.h"
#include "VersionOneDatabase.h"

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

    // Quotes, a backslash, a comma, braces and the word NULL come back as typed.
    const std::string address = "Jl. \"Merdeka\" 1\\2, {NULL}";
    peg().Edit();
    peg().FieldByName("Kd_Pangkat")->SetText("04");
    peg().FieldByName("Alamat")->SetText(address);
    peg().Post();
    EXPECT_EQ(newest("1000000001", &entry), (std::vector<Field>{{"Alamat", "", address}, {"Kd_Pangkat", "03", "04"}}));
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
                                                                {"Alamat", address, std::nullopt},
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

namespace {

// The grants of docs/server-database.md ("Protecting the change history"),
// for the schema and the clerks' role of the test.
std::string clerkGrants(const std::string& schema, const std::string& role)
{
    return "GRANT USAGE ON SCHEMA " + schema + " TO " + role +
           "; GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA " + schema + " TO " + role +
           "; REVOKE INSERT, UPDATE, DELETE ON " + schema + ".arsipstaf_columns, " + schema +
           ".arsipstaf_indexes FROM " + role + "; REVOKE INSERT, UPDATE, DELETE ON " + schema +
           ".arsipstaf_history FROM " + role +
           "; GRANT INSERT (table_name, record_key, old_key, kind, fields, old_values, new_values) ON " + schema +
           ".arsipstaf_history TO " + role + "; GRANT USAGE ON SEQUENCE " + schema + ".arsipstaf_history_entry TO " +
           role + ";";
}

std::string serverError(const std::string& address, const std::string& sql)
{
    try {
        TempDatabase::serverScript(address, sql);
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return std::string();
}

TEST(ChangeHistoryGrants, ClerksAddHistoryButCannotChangeOrRemoveIt)
{
    TempDatabase db{TempDatabase::Tables::Default, TestEngine::Server};
    SKIP_WITHOUT_TEST_SERVER(db);
    std::string role = "arsipstaf_clerks_" + std::to_string(::getpid());
    std::string address = TempDatabase::serverAddress();
    TempDatabase::serverScript(address, "DROP ROLE IF EXISTS " + role + "; CREATE ROLE " + role +
                                            " LOGIN PASSWORD 'rahasia';" + clerkGrants(db.schema(), role));
    struct Dropped {
        std::string address, role;
        ~Dropped() { TempDatabase::serverScript(address, "DROP OWNED BY " + role + "; DROP ROLE " + role); }
    } dropped{address, role};

    // The clerk stores through the program: the entry carries the role.
    std::string alias = db.serverAlias();
    size_t user = alias.find("://") + 3;
    alias.replace(user, alias.find('@') - user, role + ":rahasia");
    TempDatabase::check(EngineConfig::writeAlias(db.configPath(), EngineConfig::defaultAlias, alias));
    {
        std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");
        EngineRecord record;
        TempDatabase::check(cursor->initRecord(record));
        TempDatabase::check(cursor->putField(record, 0, std::string("1000000001")));
        TempDatabase::check(cursor->insertRecord(record));
        TempDatabase::check(cursor->getRecord(record, EngineCursor::Lock::Write));
        TempDatabase::check(cursor->putField(record, 2, std::string("Siti")));
        TempDatabase::check(cursor->modifyRecord(record));
        TempDatabase::check(cursor->deleteRecord());
        std::vector<HistoryRow> rows;
        TempDatabase::check(cursor->readHistory(HistoryQuery{"1000000001", ""}, rows));
        ASSERT_EQ(rows.size(), 4u);  // added: NIP; changed: the name; deleted: both
        EXPECT_EQ(rows[0].account, role);
    }

    const std::string history = db.schema() + ".arsipstaf_history";
    for (const std::string& sql :
         {"UPDATE " + history + " SET old_values = '{x}'", "DELETE FROM " + history, "TRUNCATE " + history,
          "INSERT INTO " + history +
              " (entry, account, table_name, record_key, kind, fields, old_values, new_values) "
              "VALUES (1, 'someone', 'Datapegawai.db', '1', 'added', '{}', '{}', '{}')"})
        EXPECT_NE(serverError(address, "SET ROLE " + role + "; " + sql).find("permission denied"), std::string::npos)
            << sql;
    EXPECT_EQ(serverError(address, "SET ROLE " + role + "; SELECT count(*) FROM " + history), "");
}

}  // namespace

namespace {

class ChangeHistoryUpgrade : public ::testing::TestWithParam<TestEngine> {};

TEST_P(ChangeHistoryUpgrade, VersionOneGainsAnEmptyHistoryOnOpening)
{
    TempDatabase db{TempDatabase::Tables::None, GetParam()};
    SKIP_WITHOUT_TEST_SERVER(db);
    loadVersionOne(db);
    std::unique_ptr<EngineCursor> cursor = db.open("Datapegawai.db");  // upgraded on opening
    std::vector<HistoryRow> rows;
    TempDatabase::check(cursor->readHistory(HistoryQuery{}, rows));
    EXPECT_TRUE(rows.empty());
    std::int64_t count = 0;
    TempDatabase::check(cursor->recordCount(count));
    EXPECT_EQ(count, 150);

    EngineRecord record;
    TempDatabase::check(cursor->getNext(record));
    TempDatabase::check(cursor->getRecord(record, EngineCursor::Lock::Write));
    std::string before = record.values[2].value_or("");
    TempDatabase::check(cursor->putField(record, 2, std::string("Nama Baru")));
    TempDatabase::check(cursor->modifyRecord(record));
    TempDatabase::check(cursor->readHistory(HistoryQuery{}, rows));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].kind, ChangeHistory::changed);
    EXPECT_EQ(rows[0].field, "Nama_Pegawai");
    EXPECT_EQ(rows[0].oldValue, FieldValue(before));
    // The code tables are upgraded too, and keep none.
    std::unique_ptr<EngineCursor> codes = db.open("Agama.db");
    TempDatabase::check(codes->readHistory(HistoryQuery{}, rows));
    EXPECT_TRUE(rows.empty());
}

INSTANTIATE_FOR_BOTH_ENGINES(ChangeHistoryUpgrade);

}  // namespace
