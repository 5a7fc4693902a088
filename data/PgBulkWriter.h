#pragma once
#include "BulkWriter.h"
#include "PgTable.h"

#include <libpq-fe.h>

#include <future>
#include <memory>
#include <string>

// BulkWriter on a server table: each run of rows goes by one COPY, so
// the server neither parses nor plans a statement per row. The COPY runs on
// a thread of its own while the caller makes the next run, so making rows
// and storing them overlap; its outcome is taken at the next store(),
// settle() or commit(). A run that meets a taken key is undone (to a
// savepoint) and goes by COPY into a temporary table and from there by one
// INSERT ... SELECT in the order given, which skips the taken keys.
class PgBulkWriter : public BulkWriter {
public:
    static EngineStatus open(const std::shared_ptr<PgConnection>& connection, const std::string& tableName,
                             std::unique_ptr<BulkWriter>& out);
    ~PgBulkWriter() override;

    const TableDescription& description() const override { return table_->description(); }
    size_t rowsPerStore() const override { return 10000; }
    EngineStatus store(const std::vector<std::vector<FieldValue>>& rows, std::int64_t& added) override;
    size_t unsettled() const override { return sent_.valid() ? sentRows_ : 0; }
    EngineStatus settle(std::int64_t& added) override;
    EngineStatus commit() override;
    EngineStatus failure(EngineCode code, const std::string& message) const override
    {
        return table_->failure(code, message);
    }

private:
    explicit PgBulkWriter(std::shared_ptr<PgTable> table);
    EngineStatus execute(const std::string& sql, std::int64_t* affected, ExecStatusType expected = PGRES_COMMAND_OK);
    EngineStatus begin();
    EngineStatus prepareStaging();
    // What a COPY of data (COPY's text format) into into left: the server's
    // error, empty when it stored every row; taken: it failed on a taken key.
    std::string copy(const std::string& data, const std::string& into, bool& taken);
    // The run sent last, again past the temporary table.
    EngineStatus storeSkippingTaken(std::int64_t& added);

    std::shared_ptr<PgTable> table_;
    std::string names_;  // the columns, quoted, in table order
    bool inTransaction_ = false;
    std::string prepared_;  // the temporary table rows pass through
    // The run the server is taking: its rows as sent, their count, and the
    // thread's outcome (the server's error; taken as copy() says).
    struct Outcome {
        std::string error;
        bool taken = false;
    };
    std::string sentData_;
    size_t sentRows_ = 0;
    std::future<Outcome> sent_;
};
