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

std::string PgHistory::arrayText(const std::vector<FieldValue>& values)
{
    std::string text = "{";
    for (const FieldValue& value : values) {
        if (text.size() > 1)
            text += ',';
        if (!value) {
            text += "NULL";
            continue;
        }
        text += '"';
        for (char c : *value) {
            if (c == '"' || c == '\\')
                text += '\\';
            text += c;
        }
        text += '"';
    }
    return text + "}";
}

std::string PgHistory::entryColumns()
{
    return " (table_name, record_key, old_key, kind, fields, old_values, new_values) ";
}

// The entry's three arrays as parameters: the statement's text stays the
// same however many fields an entry lists, so it is prepared once.
std::string PgHistory::fieldArrays(const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters)
{
    std::vector<FieldValue> names, before, after;
    for (const HistoryField& field : fields) {
        names.push_back(field.field);
        before.push_back(field.oldValue);
        after.push_back(field.newValue);
    }
    return parameter(parameters, arrayText(names)) + "::text[], " + parameter(parameters, arrayText(before)) +
           "::text[], " + parameter(parameters, arrayText(after)) + "::text[]";
}

std::string PgHistory::insertSql(const PgConnection& connection, const std::string& insert,
                                 const std::string& tableName, const std::string& key,
                                 const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters)
{
    std::string name = parameter(parameters, tableName);
    std::string keyText = parameter(parameters, key);
    return "WITH r AS (" + insert + "), h AS (INSERT INTO " + table(connection) + entryColumns() + "SELECT " + name +
           "::text, " + keyText + "::text, NULL, '" + ChangeHistory::added + "', " + fieldArrays(fields, parameters) +
           " FROM r) SELECT rid FROM r";
}

std::string PgHistory::updateSql(const PgConnection& connection, const std::string& update,
                                 const std::string& tableName, const std::string& key, const std::string& oldKey,
                                 const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters)
{
    std::string name = parameter(parameters, tableName);
    std::string keyText = parameter(parameters, key);
    std::string oldKeyText = parameter(parameters, oldKey == key ? FieldValue() : FieldValue(oldKey));
    return "WITH u AS (" + update + " RETURNING rid) INSERT INTO " + table(connection) + entryColumns() + "SELECT " +
           name + "::text, " + keyText + "::text, " + oldKeyText + "::text, '" + ChangeHistory::changed + "', " +
           fieldArrays(fields, parameters) + " FROM u";
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
    for (size_t i = 0; i < description.fields.size(); ++i)
        rows += (rows.empty() ? "(" : ", (") + std::to_string(i) + ", " +
                PgConnection::literal(description.fields[i].name) + ", d." +
                PgConnection::quote(description.fields[i].name) + "::text)";
    // The listed fields gathered in table order; one entry per deleted row.
    return "WITH d AS (DELETE FROM " + qualifiedTable + " WHERE rid = $1 RETURNING *) INSERT INTO " +
           table(connection) + entryColumns() + "SELECT " + name + "::text, " + (key.empty() ? "''" : key) +
           ", NULL, '" + ChangeHistory::deleted +
           "', f.fields, f.old_values, array_fill(NULL::text, ARRAY[cardinality(f.fields)]) FROM d, LATERAL "
           "(SELECT coalesce(array_agg(v.field ORDER BY v.n), '{}'), coalesce(array_agg(coalesce(v.value, '') ORDER "
           "BY v.n), '{}') FROM (VALUES " +
           rows + ") AS v (n, field, value) WHERE coalesce(v.value, '') <> ''" +
           (keyFields.empty() ? "" : " OR v.field IN (" + keyFields + ")") + ") AS f (fields, old_values)";
}

EngineStatus PgHistory::read(PgConnection& connection, const std::string& tableName, const HistoryQuery& query,
                             std::vector<HistoryRow>& out)
{
    out.clear();
    std::vector<FieldValue> parameters = {tableName};
    std::string where = " WHERE h.table_name = $1";
    if (query.key)
        where += " AND h.record_key = " + parameter(parameters, *query.key);
    // A date alone is the start of that day in UTC, as on the table files.
    if (!query.since.empty())
        where += " AND h.at >= (" + parameter(parameters, query.since) + "::timestamp AT TIME ZONE 'UTC')";
    PgResult result;
    EngineStatus status =
        connection.run("SELECT h.entry, to_char(h.at AT TIME ZONE 'UTC', 'YYYY-MM-DD\"T\"HH24:MI:SS.MS\"Z\"'), "
                       "h.account, h.table_name, h.record_key, coalesce(h.old_key, ''), h.kind, "
                       "coalesce(f.field, ''), f.old_value, f.new_value FROM " +
                           table(connection) +
                           " h LEFT JOIN LATERAL unnest(h.fields, h.old_values, h.new_values) WITH ORDINALITY "
                           "AS f (field, old_value, new_value, n) ON true" +
                           where + " ORDER BY h.entry DESC, f.n",
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
