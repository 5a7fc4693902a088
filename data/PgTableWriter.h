#pragma once
#include "TableWriter.h"

#include <memory>
#include <string>

class PgConnection;
class PgTable;

// A server table written in one transaction on a session of its own: the
// records are visible to the clerks' sessions only at commit().
class PgTableWriter : public TableWriter {
public:
    static EngineStatus open(const PgConnection& shared, const std::string& tableName,
                             std::unique_ptr<TableWriter>& out);
    ~PgTableWriter() override;

    const TableDescription& description() const override;
    EngineStatus insert(const EngineRecord& record) override;
    EngineStatus replace(const std::vector<int>& keyColumns, const EngineRecord& record) override;
    EngineStatus removeAll() override;
    EngineStatus insertNumbered(const EngineRecord& record) override;
    EngineStatus setLastRecordNumber(std::int64_t last) override;
    EngineStatus commit() override;

private:
    explicit PgTableWriter(std::shared_ptr<PgConnection> connection) : connection_(std::move(connection)) {}
    EngineStatus run(const std::string& sql, const std::vector<FieldValue>& parameters, std::int64_t& rows);
    std::string columnNames() const;
    std::string placeholders(size_t count, size_t first) const;

    std::shared_ptr<PgConnection> connection_;
    std::shared_ptr<PgTable> table_;
    bool open_ = false;
};
