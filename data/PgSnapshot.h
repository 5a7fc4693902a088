#pragma once
#include "EngineSnapshot.h"

#include <map>
#include <memory>
#include <string>

class PgConnection;
class PgTable;

// A snapshot of a server's tables: one REPEATABLE READ transaction on a
// session of its own, so every table is read as it stood at the one moment
// the first statement ran. Each scan reads a cursor of the transaction a
// batch of rows at a time.
class PgSnapshot : public EngineSnapshot {
public:
    // Opens the session and the transaction.
    static EngineStatus open(const PgConnection& shared, std::unique_ptr<EngineSnapshot>& out);
    ~PgSnapshot() override;

    const std::string& location() const override;
    EngineStatus describe(const std::string& tableName, TableDescription& out) override;
    EngineStatus count(const std::string& tableName, std::int64_t& out) override;
    EngineStatus lastRecordNumber(const std::string& tableName, std::int64_t& out) override;
    EngineStatus scan(const std::string& tableName, const std::string& indexName, const Each& each) override;
    EngineStatus scanByRecordNumber(const std::string& tableName, const Each& each) override;
    EngineStatus writeTableFile(const std::string& tableName, const std::string& path) override;

private:
    explicit PgSnapshot(std::shared_ptr<PgConnection> connection) : connection_(std::move(connection)) {}
    EngineStatus table(const std::string& tableName, PgTable*& out);
    EngineStatus stream(PgTable& table, const std::string& orderBy, const Each& each);

    static constexpr int fetchSize = 1000;

    std::shared_ptr<PgConnection> connection_;
    std::map<std::string, std::shared_ptr<PgTable>> tables_;
};
