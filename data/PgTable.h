#pragma once
#include "EngineRecord.h"
#include "EngineStatus.h"
#include "HistoryQuery.h"
#include "HistoryRow.h"
#include "PgConnection.h"
#include "PgKeyOrder.h"
#include "TableDescription.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One open table on a database server: its description (kept in the
// schema's description tables), its key orders and the statements every
// cursor on it shares. The layout is in docs/server-database.md.
class PgTable {
public:
    // Opens the table of this file name ("Datapegawai.db" is the server
    // table "Datapegawai"). TableMissing when the schema does not describe it.
    static EngineStatus open(std::shared_ptr<PgConnection> connection, const std::string& tableName,
                             std::shared_ptr<PgTable>& out);
    // Makes the schema ready for tables: the description tables and the
    // functions the indexes and change notices use. Harmless when done.
    static EngineStatus prepareSchema(PgConnection& connection);
    // Creates an empty table as described, in one transaction (the caller's
    // when one is open), recording description.version as its shape's
    // version; IoError when the schema already describes or holds it.
    static EngineStatus create(PgConnection& connection, const TableDescription& description);
    // The shape version of every table the schema describes, by table file
    // name (1 for a table without a recorded version); empty for a schema
    // that describes none. Reads only, whatever transaction is open.
    static EngineStatus readVersions(PgConnection& connection, std::map<std::string, int>& out);
    // The server's name for a table file name.
    static std::string serverName(const std::string& tableName);

    const TableDescription& description() const { return description_; }
    // Reads the description again; changed says whether it differs (key
    // orders handed out before stay good when it does not).
    EngineStatus refreshDescription(bool& changed);
    // Counts the changes refreshDescription found: a cursor that followed an
    // order of an older description follows its index again.
    int generation() const { return generation_; }
    PgConnection& connection() const { return *connection_; }
    const std::string& qualifiedName() const { return qualified_; }

    int indexNumber(const std::string& name) const;
    EngineStatus keyOrder(int number, PgKeyOrder*& out);

    // Reads records from a result whose columns are rid, then every column.
    void readRow(const PgResult& result, int row, EngineRecord& out) const;
    std::string selectList() const;
    EngineStatus readRecord(std::int64_t rid, EngineRecord& out);
    // Takes the record lock for owner, then reads the record under it: two
    // statements, one round trip.
    EngineStatus lockAndRead(std::int64_t rid, const void* owner, EngineRecord& out);
    std::int64_t lockKey(std::int64_t rid) const;

    EngineStatus insert(const EngineRecord& record, std::int64_t& rid);
    // Updates the row only when it still holds expected: RecordDeleted or
    // RecordChanged otherwise, and nothing is written.
    EngineStatus update(std::int64_t rid, const EngineRecord& expected, const EngineRecord& record);
    EngineStatus remove(std::int64_t rid);
    // Whether the table's changes go into the schema's change history
    // (see PgHistory); every insert, update and remove then adds its entry
    // in the same statement.
    bool keepsHistory() const { return history_; }
    EngineStatus readHistory(const HistoryQuery& query, std::vector<HistoryRow>& out);
    EngineStatus count(std::int64_t& out);
    // Counts this table's change notices: commits by any session, this one's
    // among them as soon as they return.
    EngineStatus changeStamp(std::uint64_t& out);
    EngineStatus findFiltered(const std::vector<int>& columns, const std::vector<FieldValue>& values,
                              const PgKeyOrder& order, EngineRecord& out);

    EngineStatus failure(EngineCode code, const std::string& message, std::vector<std::string> detail = {}) const;
    EngineStatus withContext(EngineStatus status) const;
    std::vector<FieldValue> storable(const EngineRecord& record) const;

private:
    PgTable(std::shared_ptr<PgConnection> connection, std::string tableName);
    EngineStatus readDescription(TableDescription& out);
    EngineStatus findServerTable();
    EngineStatus matches(std::int64_t rid, const EngineRecord& expected, bool& same, bool& exists);

    std::shared_ptr<PgConnection> connection_;
    std::string tableName_;
    std::string qualified_;
    std::string channel_;
    std::uint32_t oid_ = 0;
    TableDescription description_;
    std::map<int, std::unique_ptr<PgKeyOrder>> orders_;
    // Orders of older descriptions: other cursors may still point at them
    // until they refresh.
    std::vector<std::unique_ptr<PgKeyOrder>> retired_;
    int generation_ = 0;
    bool history_ = false;
};
