#include "PgTable.h"

#include "ChangeHistory.h"
#include "FieldNames.h"
#include "PgHistory.h"
#include "SqliteTableFile.h"
#include "StorableText.h"

#include <strings.h>

namespace {

std::string bit(bool value)
{
    return value ? "true" : "false";
}

std::string foldFunction(const PgConnection& connection)
{
    return connection.schema() + ".arsipstaf_fold";
}

}  // namespace

PgTable::PgTable(std::shared_ptr<PgConnection> connection, std::string tableName)
    : connection_(std::move(connection)), tableName_(std::move(tableName)),
      qualified_(connection_->qualified(serverName(tableName_)))
{
}

std::string PgTable::serverName(const std::string& tableName)
{
    if (tableName.size() > 3 && strcasecmp(tableName.c_str() + tableName.size() - 3, ".db") == 0)
        return tableName.substr(0, tableName.size() - 3);
    return tableName;
}

EngineStatus PgTable::failure(EngineCode code, const std::string& message, std::vector<std::string> detail) const
{
    detail.push_back("Table: " + tableName_);
    detail.push_back("Database: " + connection_->location());
    return EngineStatus::failure(code, message, std::move(detail));
}

EngineStatus PgTable::withContext(EngineStatus status) const
{
    if (status.ok())
        return status;
    return failure(status.code, status.message, status.stack);
}

EngineStatus PgTable::open(std::shared_ptr<PgConnection> connection, const std::string& tableName,
                           std::shared_ptr<PgTable>& out)
{
    std::shared_ptr<PgTable> table(new PgTable(std::move(connection), tableName));
    EngineStatus status = table->readDescription(table->description_);
    if (status.ok())
        status = table->findServerTable();
    if (status.ok() && ChangeHistory::kept(tableName))
        status = table->withContext(PgHistory::present(*table->connection_, table->history_));
    if (!status.ok())
        return status;
    out = std::move(table);
    return EngineStatus::success();
}

EngineStatus PgTable::readDescription(TableDescription& out)
{
    out = TableDescription{};
    out.tableName = tableName_;
    out.path = connection_->location() + "#" + serverName(tableName_);
    const std::string& schema = connection_->schema();
    // Columns and indexes in one round trip.
    std::vector<PgResult> results;
    EngineStatus status = connection_->runPipelined(
        {{"SELECT name, type, size, default_value FROM " + schema +
              ".arsipstaf_columns WHERE table_name = $1 ORDER BY position",
          {tableName_}},
         {"SELECT name, fields, is_primary, is_unique, is_descending, is_case_insensitive, expression FROM " + schema +
              ".arsipstaf_indexes WHERE table_name = $1 ORDER BY is_primary DESC, position",
          {tableName_}}},
        results, "Cannot read the table description.");
    if (status.code == EngineCode::TableMissing || (status.ok() && results[0].rows() == 0))
        return failure(EngineCode::TableMissing, "Table does not exist.");
    if (!status.ok())
        return withContext(status);
    const PgResult& result = results[0];
    for (int row = 0; row < result.rows(); ++row) {
        FieldDescription field;
        field.name = result.text(row, 0);
        field.typeName = result.text(row, 1);
        field.type = field.typeName == "String" ? ColumnType::Text
                     : field.typeName == "Date" ? ColumnType::Date
                                                : ColumnType::Other;
        field.size = static_cast<int>(result.int64(row, 2));
        field.hasDefault = !result.isNull(row, 3);
        field.defaultValue = result.text(row, 3);
        out.fields.push_back(field);
    }
    const PgResult& indexes = results[1];
    for (int row = 0; row < indexes.rows(); ++row) {
        IndexDescription index;
        index.name = indexes.text(row, 0);
        index.fields = FieldNames::split(indexes.text(row, 1));
        index.primary = indexes.text(row, 2) == "t";
        index.unique = indexes.text(row, 3) == "t" || index.primary;
        index.descending = indexes.text(row, 4) == "t";
        index.caseInsensitive = indexes.text(row, 5) == "t";
        index.expression = !indexes.isNull(row, 6);
        index.expressionText = indexes.text(row, 6);
        out.indexes.push_back(index);
    }
    return EngineStatus::success();
}

// The described table must exist with every described column.
EngineStatus PgTable::findServerTable()
{
    PgResult result;
    EngineStatus status =
        connection_->run("SELECT c.oid::bigint, a.attname FROM pg_class c JOIN pg_attribute a ON a.attrelid = c.oid "
                         "WHERE c.oid = to_regclass($1) AND a.attnum > 0 AND NOT a.attisdropped",
                         {qualified_}, result, "Cannot read the table description.");
    if (!status.ok())
        return withContext(status);
    if (result.rows() == 0)
        return failure(EngineCode::TableCorrupt, "The table is damaged.",
                       {"The table is described but its records are missing."});
    oid_ = static_cast<std::uint32_t>(result.int64(0, 0));
    for (const FieldDescription& field : description_.fields) {
        bool present = false;
        for (int row = 0; row < result.rows() && !present; ++row)
            present = result.text(row, 1) == field.name;
        if (!present)
            return failure(EngineCode::TableCorrupt, "The table is damaged.",
                           {"The described column '" + field.name + "' is missing."});
    }
    channel_ = "arsipstaf_" + std::to_string(oid_);
    return withContext(connection_->listen(channel_));
}

EngineStatus PgTable::refreshDescription(bool& changed)
{
    TableDescription description;
    EngineStatus status = readDescription(description);
    changed = status.ok() && !(description == description_);
    if (!changed)
        return status;
    description_ = std::move(description);
    for (auto& [number, order] : orders_)
        retired_.push_back(std::move(order));
    orders_.clear();
    ++generation_;
    return findServerTable();
}

int PgTable::indexNumber(const std::string& name) const
{
    const std::vector<IndexDescription>& indexes = description_.indexes;
    for (size_t i = 0; i < indexes.size(); ++i)
        if (name.empty() ? indexes[i].primary : strcasecmp(indexes[i].name.c_str(), name.c_str()) == 0)
            return static_cast<int>(i);
    if (name.empty() && !indexes.empty())
        return 0;
    return -1;
}

EngineStatus PgTable::keyOrder(int number, PgKeyOrder*& out)
{
    std::unique_ptr<PgKeyOrder>& slot = orders_[number];
    if (!slot) {
        static const IndexDescription fileOrder;
        const IndexDescription& index = number < 0 ? fileOrder : description_.indexes[static_cast<size_t>(number)];
        if (index.expression || index.descending)
            return failure(EngineCode::NoSuchIndex, "Index '" + index.name + "' cannot be followed.");
        slot = std::make_unique<PgKeyOrder>(description_, index, selectList(), qualified_, foldFunction(*connection_));
    }
    out = slot.get();
    return EngineStatus::success();
}

std::string PgTable::selectList() const
{
    std::string list = "rid";
    for (const FieldDescription& field : description_.fields)
        list += ", " + PgConnection::quote(field.name);
    return list;
}

void PgTable::readRow(const PgResult& result, int row, EngineRecord& out) const
{
    size_t count = description_.fields.size();
    out.values.resize(count);
    out.bookmark = result.int64(row, 0);
    for (size_t i = 0; i < count; ++i)
        out.values[i] = result.value(row, static_cast<int>(i) + 1);
}

std::vector<FieldValue> PgTable::storable(const EngineRecord& record) const
{
    std::vector<FieldValue> values(description_.fields.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const FieldDescription& field = description_.fields[i];
        FieldValue value = i < record.values.size() ? record.values[i] : FieldValue();
        if (field.type == ColumnType::Text)
            values[i] = SqliteTableFile::cutToSize(value.value_or(std::string()), field.size);
        else
            values[i] = value;
    }
    return values;
}

EngineStatus PgTable::readRecord(std::int64_t rid, EngineRecord& out)
{
    PgResult result;
    EngineStatus status = connection_->run("SELECT " + selectList() + " FROM " + qualified_ + " WHERE rid = $1",
                                           {std::to_string(rid)}, result, "Cannot read the record.");
    if (!status.ok())
        return withContext(status);
    if (result.rows() == 0)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    readRow(result, 0, out);
    return EngineStatus::success();
}

std::int64_t PgTable::lockKey(std::int64_t rid) const
{
    return static_cast<std::int64_t>((std::uint64_t(oid_) << 32) | (std::uint64_t(rid) & 0xFFFFFFFFu));
}

EngineStatus PgTable::lockAndRead(std::int64_t rid, const void* owner, EngineRecord& out)
{
    std::int64_t key = lockKey(rid);
    switch (connection_->holder(key, owner)) {
    case PgConnection::Holder::Owner:
        return readRecord(rid, out);
    case PgConnection::Holder::Other:
        return failure(EngineCode::RecordLocked, "Record locked by another user.",
                       {"Locked by another cursor of this program."});
    case PgConnection::Holder::Nobody:
        break;
    }
    // The read is a statement of its own after the lock: read together, a
    // record stored by the lock's last holder just before it let go could
    // show its old values, and the post would be refused as changed.
    std::vector<PgConnection::Statement> statements = {
        {"SELECT pg_try_advisory_lock($1::bigint)", {std::to_string(key)}},
        {"SELECT " + selectList() + " FROM " + qualified_ + " WHERE rid = $1", {std::to_string(rid)}}};
    std::vector<PgResult> results;
    for (int attempt = 0;;) {
        EngineStatus status = connection_->runPipelined(statements, results, "Cannot read the record.");
        bool locked = results.size() == 2 && results[0].rows() == 1 && results[0].text(0, 0) == "t";
        if (locked)
            connection_->noteLocked(key, owner);
        if (!status.ok()) {
            if (locked)
                connection_->unlock(key, owner);
            return withContext(status);
        }
        if (locked)
            break;
        if (results[1].rows() == 0)
            return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
        if (!PgConnection::askAgainForLock(attempt))
            return withContext(PgConnection::lockedFailure());
    }
    if (results[1].rows() == 0) {
        connection_->unlock(key, owner);
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    }
    readRow(results[1], 0, out);
    return EngineStatus::success();
}

EngineStatus PgTable::insert(const EngineRecord& record, std::int64_t& rid)
{
    std::string names, placeholders;
    for (size_t i = 0; i < description_.fields.size(); ++i) {
        names += (i ? ", " : "") + PgConnection::quote(description_.fields[i].name);
        placeholders += (i ? ", $" : "$") + std::to_string(i + 1);
    }
    std::vector<FieldValue> values = storable(record);
    if (std::string problem = StorableText::problemIn(description_, values); !problem.empty())
        return failure(EngineCode::InvalidText, problem);
    std::string sql = "INSERT INTO " + qualified_ + " (" + names + ") VALUES (" + placeholders + ") RETURNING rid";
    std::vector<FieldValue> parameters = values;
    if (history_)
        sql = PgHistory::insertSql(*connection_, sql, tableName_, ChangeHistory::keyOf(description_, values),
                                   ChangeHistory::addedFields(description_, values), parameters);
    PgResult result;
    EngineStatus status = connection_->run(sql, parameters, result, "Cannot store the record.");
    if (!status.ok())
        return withContext(status);
    rid = result.int64(0, 0);
    return EngineStatus::success();
}

// Whether the stored row still holds expected, in one query.
EngineStatus PgTable::matches(std::int64_t rid, const EngineRecord& expected, bool& same, bool& exists)
{
    std::string condition;
    std::vector<FieldValue> parameters = {std::to_string(rid)};
    std::vector<FieldValue> values = storable(expected);
    for (size_t i = 0; i < values.size(); ++i) {
        parameters.push_back(values[i]);
        condition += " AND " + PgConnection::quote(description_.fields[i].name) + " IS NOT DISTINCT FROM $" +
                     std::to_string(i + 2);
    }
    PgResult result;
    EngineStatus status = connection_->run("SELECT true" + condition + " FROM " + qualified_ + " WHERE rid = $1",
                                           parameters, result, "Cannot read the record.");
    if (!status.ok())
        return withContext(status);
    exists = result.rows() == 1;
    same = exists && result.text(0, 0) == "t";
    return EngineStatus::success();
}

EngineStatus PgTable::update(std::int64_t rid, const EngineRecord& expected, const EngineRecord& record)
{
    std::vector<FieldValue> values = storable(record);
    std::vector<FieldValue> before = storable(expected);
    std::string assignments, condition;
    std::vector<FieldValue> parameters = {std::to_string(rid)};
    std::vector<FieldValue> written(values.size());
    for (size_t i = 0; i < values.size(); ++i)
        if (values[i] != before[i])
            written[i] = values[i];
    if (std::string problem = StorableText::problemIn(description_, written); !problem.empty())
        return failure(EngineCode::InvalidText, problem);
    for (size_t i = 0; i < values.size(); ++i) {
        if (values[i] == before[i])
            continue;
        parameters.push_back(values[i]);
        assignments += (assignments.empty() ? "" : ", ") + PgConnection::quote(description_.fields[i].name) + " = $" +
                       std::to_string(parameters.size());
    }
    // The row is written only if it still holds what was read: one
    // statement, so no other session's commit can slip in between.
    for (size_t i = 0; i < before.size(); ++i) {
        parameters.push_back(before[i]);
        condition += " AND " + PgConnection::quote(description_.fields[i].name) + " IS NOT DISTINCT FROM $" +
                     std::to_string(parameters.size());
    }
    bool same = false, exists = false;
    if (assignments.empty()) {
        EngineStatus status = matches(rid, expected, same, exists);
        if (!status.ok())
            return status;
    } else {
        std::string sql = "UPDATE " + qualified_ + " SET " + assignments + " WHERE rid = $1" + condition;
        if (history_)
            sql = PgHistory::updateSql(*connection_, sql, tableName_, ChangeHistory::keyOf(description_, values),
                                       ChangeHistory::keyOf(description_, before),
                                       ChangeHistory::changedFields(description_, before, values), parameters);
        PgResult result;
        EngineStatus status = connection_->run(sql, parameters, result, "Cannot store the record.");
        if (!status.ok())
            return withContext(status);
        // With a history the row affected is the entry's: one exactly when the row was written.
        same = history_ ? result.affected() > 0 : result.affected() == 1;
        if (!same) {
            bool unchanged = false;
            status = matches(rid, expected, unchanged, exists);
            if (!status.ok())
                return status;
        }
    }
    if (same)
        return EngineStatus::success();
    if (!exists)
        return failure(EngineCode::RecordDeleted, "Record was deleted by another user.");
    return failure(EngineCode::RecordChanged, "Record was changed by another user.");
}

EngineStatus PgTable::remove(std::int64_t rid)
{
    std::vector<FieldValue> parameters = {std::to_string(rid)};
    std::string sql = history_ ? PgHistory::deleteSql(*connection_, qualified_, description_, parameters)
                               : "DELETE FROM " + qualified_ + " WHERE rid = $1";
    PgResult result;
    EngineStatus status = connection_->run(sql, parameters, result, "Cannot delete the record.");
    if (!status.ok())
        return withContext(status);
    if (result.affected() == 0)
        return EngineStatus::failure(EngineCode::RecordGone, "Record was deleted by another user.");
    return EngineStatus::success();
}

EngineStatus PgTable::readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out)
{
    out.clear();
    if (!history_)
        return EngineStatus::success();
    return withContext(PgHistory::read(*connection_, tableName_, query, out));
}

EngineStatus PgTable::count(std::int64_t& out)
{
    PgResult result;
    EngineStatus status =
        connection_->run("SELECT count(*) FROM " + qualified_, {}, result, "Cannot count the records.");
    if (!status.ok())
        return withContext(status);
    out = result.int64(0, 0);
    return EngineStatus::success();
}

EngineStatus PgTable::changeStamp(std::uint64_t& out)
{
    return withContext(connection_->notices(channel_, out));
}

EngineStatus PgTable::findFiltered(const std::vector<int>& columns, const std::vector<FieldValue>& values,
                                   const PgKeyOrder& order, EngineRecord& out)
{
    std::string where;
    std::vector<FieldValue> parameters;
    for (size_t i = 0; i < columns.size(); ++i) {
        const FieldDescription& field = description_.fields[static_cast<size_t>(columns[i])];
        // Text is stored as '' where a buffer holds null.
        parameters.push_back(field.type == ColumnType::Text ? FieldValue(values[i].value_or(std::string()))
                                                            : values[i]);
        where += (i ? " AND " : " WHERE ") + PgConnection::quote(field.name) + " IS NOT DISTINCT FROM $" +
                 std::to_string(i + 1);
    }
    PgResult result;
    EngineStatus status = connection_->run("SELECT " + selectList() + " FROM " + qualified_ + where + " ORDER BY " +
                                               order.orderBy() + " LIMIT 1",
                                           parameters, result, "Cannot read the table.");
    if (!status.ok())
        return withContext(status);
    if (result.rows() == 0)
        return EngineStatus::failure(EngineCode::RecordNotFound, "Record not found.");
    readRow(result, 0, out);
    return EngineStatus::success();
}

EngineStatus PgTable::prepareSchema(PgConnection& connection)
{
    const std::string& schema = connection.schema();
    std::string sql =
        "CREATE TABLE IF NOT EXISTS " + schema +
        ".arsipstaf_columns (table_name text NOT NULL, "
        "position integer NOT NULL, name text NOT NULL, type text NOT NULL, size integer NOT NULL, "
        "default_value text, PRIMARY KEY (table_name, position));"
        "CREATE TABLE IF NOT EXISTS " +
        schema +
        ".arsipstaf_indexes (table_name text NOT NULL, "
        "position integer NOT NULL, name text NOT NULL, fields text NOT NULL, is_primary boolean NOT NULL, "
        "is_unique boolean NOT NULL, is_descending boolean NOT NULL, is_case_insensitive boolean NOT NULL, "
        "expression text, PRIMARY KEY (table_name, position));"
        // The shape version of each table (SchemaSteps); a table without a
        // row is of version 1, made before versions were recorded.
        "CREATE TABLE IF NOT EXISTS " +
        schema +
        ".arsipstaf_versions (table_name text PRIMARY KEY, version integer NOT NULL);"
        // Letters A-Z folded, everything else compared as bytes: the order
        // the table files' case-insensitive indexes keep.
        "CREATE OR REPLACE FUNCTION " +
        schema +
        ".arsipstaf_fold(value text) RETURNS text "
        "LANGUAGE sql IMMUTABLE STRICT PARALLEL SAFE AS $$ SELECT lower(value COLLATE \"C\") $$;"
        "CREATE OR REPLACE FUNCTION " +
        schema +
        ".arsipstaf_changed() RETURNS trigger LANGUAGE plpgsql AS "
        "$$ BEGIN PERFORM pg_notify('arsipstaf_' || TG_RELID::bigint::text, ''); RETURN NULL; END $$;";
    return connection.runScript(sql, "Cannot prepare the database for the tables.");
}

EngineStatus PgTable::readVersions(PgConnection& connection, std::map<std::string, int>& out)
{
    out.clear();
    const std::string& schema = connection.schema();
    // A schema made before versions were recorded has no version table;
    // asked this way, its absence fails no transaction the caller holds.
    PgResult result;
    EngineStatus status = connection.run("SELECT to_regclass($1) IS NOT NULL, to_regclass($2) IS NOT NULL",
                                         {schema + ".arsipstaf_columns", schema + ".arsipstaf_versions"}, result,
                                         "Cannot read the table versions.");
    if (!status.ok() || result.text(0, 0) != "t")
        return status;
    std::string versions =
        result.text(0, 1) == "t" ? "LEFT JOIN " + schema + ".arsipstaf_versions v USING (table_name)" : std::string();
    status = connection.run("SELECT DISTINCT c.table_name, " +
                                std::string(versions.empty() ? "1" : "COALESCE(v.version, 1)") + " FROM " + schema +
                                ".arsipstaf_columns c " + versions,
                            {}, result, "Cannot read the table versions.");
    for (int row = 0; status.ok() && row < result.rows(); ++row)
        out[result.text(row, 0)] = static_cast<int>(result.int64(row, 1));
    return status;
}

EngineStatus PgTable::create(PgConnection& connection, const TableDescription& description)
{
    const std::string& schema = connection.schema();
    std::string name = serverName(description.tableName);
    std::string table = connection.qualified(name);
    std::string tableLiteral = PgConnection::literal(description.tableName);
    // Inside a caller's transaction the table is part of it.
    bool own = PQtransactionStatus(connection.handle()) == PQTRANS_IDLE;
    std::string sql = own ? "BEGIN;" : "";
    std::string columns = "rid bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY";
    for (size_t i = 0; i < description.fields.size(); ++i) {
        const FieldDescription& field = description.fields[i];
        std::string defaultLiteral = field.hasDefault ? PgConnection::literal(field.defaultValue) : "NULL";
        sql += "INSERT INTO " + schema + ".arsipstaf_columns VALUES (" + tableLiteral + ", " + std::to_string(i) +
               ", " + PgConnection::literal(field.name) + ", " +
               PgConnection::literal(field.type == ColumnType::Date ? "Date" : "String") + ", " +
               std::to_string(field.size) + ", " + defaultLiteral + ");";
        columns += ", " + PgConnection::quote(field.name);
        if (field.type == ColumnType::Text)
            columns += (field.size > 0 ? " varchar(" + std::to_string(field.size) + ")" : std::string(" text")) +
                       " COLLATE \"C\" NOT NULL DEFAULT " + (field.hasDefault ? defaultLiteral : std::string("''"));
        else
            columns += " date";
    }
    sql += "CREATE TABLE " + table + " (" + columns + ");";
    for (size_t i = 0; i < description.indexes.size(); ++i) {
        const IndexDescription& index = description.indexes[i];
        std::string problem = SqliteKeyOrder::check(description, index);
        if (!problem.empty())
            return EngineStatus::failure(
                EngineCode::InvalidKey, "Cannot create the table.",
                {problem, "Table: " + description.tableName, "Database: " + connection.location()});
        sql += "INSERT INTO " + schema + ".arsipstaf_indexes VALUES (" + tableLiteral + ", " + std::to_string(i) +
               ", " + PgConnection::literal(index.name) + ", " + PgConnection::literal(index.fieldList()) + ", " +
               bit(index.primary) + ", " + bit(index.unique) + ", false, " + bit(index.caseInsensitive) + ", NULL);";
        PgKeyOrder order(description, index, std::string(), std::string(), foldFunction(connection));
        sql += std::string("CREATE ") + (index.unique || index.primary ? "UNIQUE " : "") + "INDEX " +
               PgConnection::quote(name + "_" + index.name) + " ON " + table + " (" + order.indexColumns() + ");";
    }
    sql += "CREATE TRIGGER arsipstaf_changed AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON " + table +
           " FOR EACH STATEMENT EXECUTE FUNCTION " + schema + ".arsipstaf_changed();";
    sql += "INSERT INTO " + schema + ".arsipstaf_versions VALUES (" + tableLiteral + ", " +
           std::to_string(std::max(1, description.version)) +
           ") ON CONFLICT (table_name) DO UPDATE SET version = EXCLUDED.version;";
    if (own)
        sql += "COMMIT;";
    EngineStatus status = connection.runScript(sql, "Cannot create the table.");
    if (!status.ok()) {
        if (own)
            (void)connection.runScript("ROLLBACK", "Cannot create the table.");
        status.stack.push_back("Table: " + description.tableName);
        status.stack.push_back("Database: " + connection.location());
        if (status.code == EngineCode::KeyViolation || status.code == EngineCode::Internal) {
            status.code = EngineCode::IoError;
            status.message = "Cannot create the table.";
        }
    }
    return status;
}
