#include "PgHistory.h"

#include "ChangeHistory.h"
#include "PgConnection.h"

std::string PgHistory::table(const PgConnection& connection)
{
    return connection.schema() + ".arsipstaf_history";
}

std::string PgHistory::createSql(const std::string& schema)
{
    return ChangeHistory::serverCreateSql(schema);
}

EngineStatus PgHistory::present(PgConnection& connection, bool& out)
{
    PgResult result;
    EngineStatus status = connection.run("SELECT to_regclass($1) IS NOT NULL", {table(connection)}, result,
                                         "Cannot read the table description.");
    out = status.ok() && result.text(0, 0) == "t";
    return status;
}

std::string PgHistory::parameter(std::vector<FieldValue>& parameters, const FieldValue& value)
{
    parameters.push_back(value);
    return "$" + std::to_string(parameters.size());
}

std::string PgHistory::entryColumns()
{
    return " (entry, table_name, record_key, old_key, kind, field, old_value, new_value) ";
}

std::string PgHistory::fieldRows(const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters)
{
    const std::vector<HistoryField> none = {HistoryField{}};
    std::string rows;
    for (const HistoryField& field : fields.empty() ? none : fields) {
        rows += rows.empty() ? "(" : ", (";
        rows += parameter(parameters, field.field.empty() ? FieldValue() : FieldValue(field.field)) + "::text, ";
        rows += parameter(parameters, field.oldValue) + "::text, ";
        rows += parameter(parameters, field.newValue) + "::text)";
    }
    return "(VALUES " + rows + ") AS f (field, old_value, new_value)";
}

std::string PgHistory::insertSql(const PgConnection& connection, const std::string& insert,
                                 const std::string& tableName, const std::string& key,
                                 const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters)
{
    std::string name = parameter(parameters, tableName);
    std::string keyText = parameter(parameters, key);
    return "WITH r AS (" + insert + "), e AS (SELECT nextval('" + connection.schema() +
           ".arsipstaf_history_entry') AS n), h AS (INSERT INTO " + table(connection) + entryColumns() +
           "SELECT e.n, " + name + "::text, " + keyText + "::text, NULL, '" + ChangeHistory::added +
           "', f.field, f.old_value, f.new_value FROM r, e, " + fieldRows(fields, parameters) + ") SELECT rid FROM r";
}

std::string PgHistory::updateSql(const PgConnection& connection, const std::string& update,
                                 const std::string& tableName, const std::string& key, const std::string& oldKey,
                                 const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters)
{
    std::string name = parameter(parameters, tableName);
    std::string keyText = parameter(parameters, key);
    std::string oldKeyText = parameter(parameters, oldKey == key ? FieldValue() : FieldValue(oldKey));
    return "WITH u AS (" + update + " RETURNING rid), e AS (SELECT nextval('" + connection.schema() +
           ".arsipstaf_history_entry') AS n) INSERT INTO " + table(connection) + entryColumns() + "SELECT e.n, " +
           name + "::text, " + keyText + "::text, " + oldKeyText + "::text, '" + ChangeHistory::changed +
           "', f.field, f.old_value, f.new_value FROM u, e, " + fieldRows(fields, parameters);
}

std::string PgHistory::deleteSql(const PgConnection& connection, const std::string& qualifiedTable,
                                 const TableDescription& description, std::vector<FieldValue>& parameters)
{
    std::string name = parameter(parameters, description.tableName);
    // The key and the fields an entry of a deleted record lists, as
    // ChangeHistory::deletedFields picks them, from the deleted row.
    std::vector<FieldValue> blank(description.fields.size(), std::string());
    std::string key, rows, keyFields;
    for (const HistoryField& field : ChangeHistory::deletedFields(description, blank))
        keyFields += (keyFields.empty() ? "" : ", ") + PgConnection::literal(field.field);
    const IndexDescription* primary = description.indexes.empty() ? nullptr : &description.indexes.front();
    for (const IndexDescription& index : description.indexes)
        if (index.primary)
            primary = &index;
    for (const std::string& field : primary ? primary->fields : std::vector<std::string>())
        key += (key.empty() ? "coalesce(d." : " || '/' || coalesce(d.") + PgConnection::quote(field) + "::text, '')";
    for (const FieldDescription& field : description.fields)
        rows += (rows.empty() ? "(" : ", (") + PgConnection::literal(field.name) + ", d." +
                PgConnection::quote(field.name) + "::text)";
    return "WITH d AS (DELETE FROM " + qualifiedTable + " WHERE rid = $1 RETURNING *), e AS (SELECT nextval('" +
           connection.schema() + ".arsipstaf_history_entry') AS n) INSERT INTO " + table(connection) + entryColumns() +
           "SELECT e.n, " + name + "::text, " + (key.empty() ? "''" : key) + ", NULL, '" + ChangeHistory::deleted +
           "', f.field, coalesce(f.value, ''), NULL FROM d, e, LATERAL (VALUES " + rows +
           ") AS f (field, value) WHERE coalesce(f.value, '') <> ''" +
           (keyFields.empty() ? "" : " OR f.field IN (" + keyFields + ")");
}

EngineStatus PgHistory::read(PgConnection& connection, const std::string& tableName, const HistoryQuery& query,
                             std::vector<HistoryRow>& out)
{
    out.clear();
    std::vector<FieldValue> parameters = {tableName};
    std::string where = " WHERE table_name = $1";
    if (query.key)
        where += " AND record_key = " + parameter(parameters, *query.key);
    // A date alone is the start of that day in UTC, as on the table files.
    if (!query.since.empty())
        where += " AND at >= (" + parameter(parameters, query.since) + "::timestamp AT TIME ZONE 'UTC')";
    PgResult result;
    EngineStatus status =
        connection.run("SELECT entry, to_char(at AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'), "
                       "account, table_name, record_key, coalesce(old_key, ''), kind, coalesce(field, ''), "
                       "old_value, new_value FROM " +
                           table(connection) + where + " ORDER BY entry DESC, id",
                       parameters, result, "Cannot read the change history.");
    if (!status.ok())
        return status;
    for (int row = 0; row < result.rows(); ++row) {
        HistoryRow entry;
        entry.entry = result.int64(row, 0);
        entry.time = result.text(row, 1);
        entry.account = result.text(row, 2);
        entry.tableName = result.text(row, 3);
        entry.key = result.text(row, 4);
        entry.oldKey = result.text(row, 5);
        entry.kind = result.text(row, 6);
        entry.field = result.text(row, 7);
        entry.oldValue = result.value(row, 8);
        entry.newValue = result.value(row, 9);
        out.push_back(std::move(entry));
    }
    return EngineStatus::success();
}
