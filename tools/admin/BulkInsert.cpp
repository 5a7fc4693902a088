#include "BulkInsert.h"

#include "StorableText.h"
#include "TableFiles.h"

namespace {

// Rows per transaction: each commit writes again the index pages the rows
// touched, so fewer commits cost less; the bound keeps the log of a very
// large run from growing without end.
constexpr std::int64_t batch = 1000000;

}  // namespace

EngineStatus BulkInsert::open(EngineDatabase& database, const std::string& tableName, std::unique_ptr<BulkInsert>& out)
{
    std::unique_ptr<BulkInsert> bulk(new BulkInsert());
    EngineStatus status = database.openBulkWriter(tableName, bulk->writer_);
    if (!status.ok())
        return status;
    out = std::move(bulk);
    return EngineStatus::success();
}

EngineStatus BulkInsert::add(const std::vector<FieldValue>& values)
{
    return add(std::vector<FieldValue>(values));
}

// What the engines' own inserts store, made in place: most values are kept
// as given and need no copy.
EngineStatus BulkInsert::add(std::vector<FieldValue>&& values)
{
    // The engines' own rule, which these statements pass by.
    if (std::string problem = StorableText::problemIn(description(), values); !problem.empty())
        return writer_->failure(EngineCode::InvalidText, problem);
    const std::vector<FieldDescription>& fields = description().fields;
    values.resize(fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        FieldValue& value = values[i];
        if (fields[i].type != ColumnType::Text) {
            if (value && value->empty())
                value.reset();
        } else if (!value) {
            value = std::string();
        } else if (fields[i].size > 0 && value->size() > static_cast<size_t>(fields[i].size)) {
            // Never more characters than bytes: a shorter text fits as it is.
            value = TableFiles::cutToSize(*value, fields[i].size);
        }
    }
    rows_.push_back(std::move(values));
    if (rows_.size() < rowsPerStore())
        return EngineStatus::success();
    EngineStatus status = store();
    if (status.ok() && inBatch_ >= batch)
        status = flush();
    return status;
}

EngineStatus BulkInsert::store()
{
    std::int64_t stored = 0;
    EngineStatus status = writer_->store(rows_, stored);
    if (!status.ok())
        return status;
    added_ += stored;
    inBatch_ += static_cast<std::int64_t>(rows_.size());
    rows_.clear();
    return EngineStatus::success();
}

EngineStatus BulkInsert::flush()
{
    EngineStatus status = store();
    inBatch_ = 0;
    std::int64_t settled = 0;
    if (status.ok())
        status = writer_->settle(settled);
    added_ += settled;
    return status.ok() ? writer_->commit() : status;
}
