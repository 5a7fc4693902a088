#include "SqliteHistory.h"

#include "ChangeHistory.h"

#include <cstdio>

const char* SqliteHistory::createSql()
{
    // One row per entry, its fields one JSON array of [field, old, new]: a
    // post writes one row and two index entries however many fields it lists.
    return "CREATE TABLE IF NOT EXISTS history (entry INTEGER PRIMARY KEY, at TEXT NOT NULL, account TEXT NOT NULL, "
           "record_key TEXT NOT NULL, old_key TEXT, kind TEXT NOT NULL, fields TEXT NOT NULL);"
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

void SqliteHistory::appendJson(std::string& json, const FieldValue& value)
{
    if (!value) {
        json += "null";
        return;
    }
    json += '"';
    for (char c : *value) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            json += escaped;
        } else {
            json += c;
        }
    }
    json += '"';
}

std::string SqliteHistory::fieldsJson(const std::vector<HistoryField>& fields)
{
    std::string json = "[";
    for (const HistoryField& field : fields) {
        json += json.size() > 1 ? ",[" : "[";
        appendJson(json, field.field);
        json += ',';
        appendJson(json, field.oldValue);
        json += ',';
        appendJson(json, field.newValue);
        json += ']';
    }
    return json + "]";
}

int SqliteHistory::add(const std::string& kind, const std::string& key, const std::string& oldKey,
                       const std::vector<HistoryField>& fields)
{
    // The entry number is the row's own: max + 1, as rows are never removed.
    int rc = prepare(insert_, "INSERT INTO history (at, account, record_key, old_key, kind, fields) "
                              "VALUES (?, ?, ?, ?, ?, ?)");
    if (rc != SQLITE_OK)
        return rc;
    insert_->bindText(1, ChangeHistory::utcNow());
    insert_->bindText(2, ChangeHistory::fileAccount());
    insert_->bindText(3, key);
    insert_->bind(4, oldKey == key ? FieldValue() : FieldValue(oldKey));
    insert_->bindText(5, kind);
    insert_->bindText(6, fieldsJson(fields));
    rc = insert_->step();
    insert_->reset();
    return rc == SQLITE_DONE ? SQLITE_OK : rc;
}

int SqliteHistory::read(const HistoryQuery& query, std::vector<HistoryRow>& out)
{
    out.clear();
    int which = (query.key ? 1 : 0) | (query.since.empty() ? 0 : 2);
    std::string where = query.key ? " WHERE h.record_key = ?1" : "";
    if (!query.since.empty())
        where += (query.key ? " AND" : " WHERE") + std::string(" h.at >= ?2");
    int rc = prepare(reads_[which], "SELECT h.entry, h.at, h.account, h.record_key, ifnull(h.old_key, ''), h.kind, "
                                    "ifnull(json_extract(f.value, '$[0]'), ''), json_extract(f.value, '$[1]'), "
                                    "json_extract(f.value, '$[2]') FROM history h LEFT JOIN json_each(h.fields) f" +
                                        where + " ORDER BY h.entry DESC, f.key");
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
