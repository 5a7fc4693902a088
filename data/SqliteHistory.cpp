#include "SqliteHistory.h"

#include "ChangeHistory.h"

const char* SqliteHistory::createSql()
{
    return "CREATE TABLE IF NOT EXISTS history (id INTEGER PRIMARY KEY, entry INTEGER NOT NULL, at TEXT NOT NULL, "
           "account TEXT NOT NULL, record_key TEXT NOT NULL, old_key TEXT, kind TEXT NOT NULL, field TEXT, "
           "old_value TEXT, new_value TEXT);"
           "CREATE INDEX IF NOT EXISTS history_key ON history (record_key, entry);"
           "CREATE INDEX IF NOT EXISTS history_at ON history (at);"
           "CREATE TRIGGER IF NOT EXISTS history_kept_update BEFORE UPDATE ON history "
           "BEGIN SELECT RAISE(ABORT, 'The change history cannot be changed.'); END;"
           "CREATE TRIGGER IF NOT EXISTS history_kept_delete BEFORE DELETE ON history "
           "BEGIN SELECT RAISE(ABORT, 'The change history cannot be removed.'); END;";
}

bool SqliteHistory::present(sqlite3* db)
{
    SqliteStatement probe;
    int rc = probe.prepare(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'history'");
    return rc == SQLITE_OK && probe.step() == SQLITE_ROW;
}

int SqliteHistory::prepare(std::unique_ptr<SqliteStatement>& slot, const std::string& sql)
{
    if (slot)
        return SQLITE_OK;
    auto statement = std::make_unique<SqliteStatement>();
    int rc = statement->prepare(db_, sql);
    if (rc == SQLITE_OK)
        slot = std::move(statement);
    return rc;
}

int SqliteHistory::add(const std::string& kind, const std::string& key, const std::string& oldKey,
                       const std::vector<HistoryField>& fields)
{
    // The entry is numbered by its first row: inside the write transaction
    // nobody else adds one.
    int rc = prepare(next_, "SELECT ifnull(max(id), 0) + 1 FROM history");
    if (rc == SQLITE_OK)
        rc = prepare(insert_, "INSERT INTO history (entry, at, account, record_key, old_key, kind, field, "
                              "old_value, new_value) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)");
    if (rc != SQLITE_OK)
        return rc;
    rc = next_->step();
    std::int64_t entry = next_->int64(0);
    next_->reset();
    if (rc != SQLITE_ROW)
        return rc;
    std::string at = ChangeHistory::utcNow();
    const std::vector<HistoryField> none = {HistoryField{}};
    for (const HistoryField& field : fields.empty() ? none : fields) {
        insert_->bindInt64(1, entry);
        insert_->bindText(2, at);
        insert_->bindText(3, ChangeHistory::fileAccount());
        insert_->bindText(4, key);
        insert_->bind(5, oldKey == key ? FieldValue() : FieldValue(oldKey));
        insert_->bindText(6, kind);
        insert_->bind(7, field.field.empty() ? FieldValue() : FieldValue(field.field));
        insert_->bind(8, field.oldValue);
        insert_->bind(9, field.newValue);
        rc = insert_->step();
        insert_->reset();
        if (rc != SQLITE_DONE)
            return rc;
    }
    return SQLITE_OK;
}

int SqliteHistory::read(const HistoryQuery& query, std::vector<HistoryRow>& out)
{
    out.clear();
    int which = (query.key ? 1 : 0) | (query.since.empty() ? 0 : 2);
    std::string where = query.key ? " WHERE record_key = ?1" : "";
    if (!query.since.empty())
        where += (query.key ? " AND" : " WHERE") + std::string(" at >= ?2");
    int rc = prepare(reads_[which], "SELECT entry, at, account, record_key, ifnull(old_key, ''), kind, "
                                    "ifnull(field, ''), old_value, new_value FROM history" +
                                        where + " ORDER BY entry DESC, id");
    if (rc != SQLITE_OK)
        return rc;
    SqliteStatement& statement = *reads_[which];
    if (query.key)
        statement.bindText(1, *query.key);
    if (!query.since.empty())
        statement.bindText(2, query.since);
    while ((rc = statement.step()) == SQLITE_ROW) {
        HistoryRow row;
        row.entry = statement.int64(0);
        row.time = statement.text(1);
        row.account = statement.text(2);
        row.tableName = tableName_;
        row.key = statement.text(3);
        row.oldKey = statement.text(4);
        row.kind = statement.text(5);
        row.field = statement.text(6);
        row.oldValue = statement.value(7);
        row.newValue = statement.value(8);
        out.push_back(std::move(row));
    }
    statement.reset();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}
