#pragma once
#include "PgTable.h"
#include "ServerBulkWriter.h"

#include <libpq-fe.h>

#include <memory>
#include <string>

// ServerBulkWriter on a server table: rows go by COPY into a temporary
// table and from there by one INSERT ... SELECT in the order given, which
// skips taken keys; the server neither parses nor plans a statement per run.
class PgBulkWriter : public ServerBulkWriter {
public:
    static EngineStatus open(const std::shared_ptr<PgConnection>& connection, const std::string& tableName,
                             std::unique_ptr<ServerBulkWriter>& out);
    ~PgBulkWriter() override;

    const TableDescription& description() const override { return table_->description(); }
    EngineStatus store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added) override;
    EngineStatus commit() override;
    EngineStatus failure(EngineCode code, const std::string& message) const override
    {
        return table_->failure(code, message);
    }

private:
    explicit PgBulkWriter(std::shared_ptr<PgTable> table) : table_(std::move(table)) {}
    EngineStatus execute(const std::string& sql, std::int64_t* affected, ExecStatusType expected = PGRES_COMMAND_OK);
    EngineStatus begin(const std::string& names);
    EngineStatus copy(const std::vector<std::vector<FieldValue>>& rows, const std::string& names);

    std::shared_ptr<PgTable> table_;
    bool inTransaction_ = false;
    std::string prepared_;  // the temporary table rows pass through
};
