#pragma once
#include "BulkWriter.h"
#include "PgTable.h"

#include <libpq-fe.h>

#include <memory>
#include <string>

// BulkWriter on a server table: each run of rows goes by one COPY, so
// the server neither parses nor plans a statement per row. A run that meets
// a taken key is undone (to a savepoint) and goes by COPY into a temporary
// table and from there by one INSERT ... SELECT in the order given, which
// skips the taken keys.
class PgBulkWriter : public BulkWriter {
public:
    static EngineStatus open(const std::shared_ptr<PgConnection>& connection, const std::string& tableName,
                             std::unique_ptr<BulkWriter>& out);
    ~PgBulkWriter() override;

    const TableDescription& description() const override { return table_->description(); }
    size_t rowsPerStore() const override { return 10000; }
    EngineStatus store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added) override;
    EngineStatus commit() override;
    EngineStatus failure(EngineCode code, const std::string& message) const override
    {
        return table_->failure(code, message);
    }

private:
    explicit PgBulkWriter(std::shared_ptr<PgTable> table) : table_(std::move(table)) {}
    EngineStatus execute(const std::string& sql, std::int64_t* affected, ExecStatusType expected = PGRES_COMMAND_OK);
    EngineStatus begin();
    EngineStatus prepareStaging(const std::string& names);
    // taken: the copy failed on a taken key.
    EngineStatus copy(const std::vector<std::vector<FieldValue>>& rows, const std::string& into,
                      const std::string& names, bool& taken);

    std::shared_ptr<PgTable> table_;
    bool inTransaction_ = false;
    std::string prepared_;  // the temporary table rows pass through
};
