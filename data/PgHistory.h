#pragma once
#include "EngineStatus.h"
#include "FieldValue.h"
#include "HistoryField.h"
#include "HistoryQuery.h"
#include "HistoryRow.h"
#include "TableDescription.h"

#include <string>
#include <vector>

class PgConnection;

// The change history on a database server: one table, arsipstaf_history,
// for every table of the schema, one row per entry. The server stamps each
// entry with its own number, time and the session's role (column defaults
// clerks cannot override, see docs/server-database.md), and every entry is
// written by the very statement that makes its change, so both commit
// together or not at all.
class PgHistory {
public:
    // The statements that make the history table (one row per entry) and
    // its entry numbers in schema, empty; harmless when they are there. Run only by the upgrade
    // step that brings a schema to the version with histories
    // (ChangeHistory::upgradeStep), which new schemas pass through too.
    static std::string createSql(const std::string& schema);
    // Whether the schema holds the history table.
    static EngineStatus present(PgConnection& connection, bool& out);

    // Statements that make a change and add its entry. parameters holds the
    // change's own parameters ($1..$n); the entry's are appended.
    //
    // The insert returns rid, as the plain insert does.
    static std::string insertSql(const PgConnection& connection, const std::string& insert,
                                 const std::string& tableName, const std::string& key,
                                 const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters);
    // The update adds the entry only when it changed a row: one affected
    // row (the entry's), none when the row no longer held what was read.
    static std::string updateSql(const PgConnection& connection, const std::string& update,
                                 const std::string& tableName, const std::string& key, const std::string& oldKey,
                                 const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters);
    // The delete takes the deleted values from the row itself (RETURNING);
    // one affected row (the entry's), none when there was no row.
    static std::string deleteSql(const PgConnection& connection, const std::string& qualifiedTable,
                                 const TableDescription& description, std::vector<FieldValue>& parameters);

    static EngineStatus read(PgConnection& connection, const std::string& tableName, const HistoryQuery& query,
                             std::vector<HistoryRow>& out);

private:
    static std::string table(const PgConnection& connection);
    static std::string entryColumns();
    static std::string fieldArrays(const std::vector<HistoryField>& fields, std::vector<FieldValue>& parameters);
    // values as the text of a server array of text, nulls kept.
    static std::string arrayText(const std::vector<FieldValue>& values);
    static std::string parameter(std::vector<FieldValue>& parameters, const FieldValue& value);
};
