#include "StoredValueCheck.h"

#include "StorableText.h"
#include "TableFiles.h"

#include <sqlite3.h>

namespace {

// Collects lines up to the listed number, then counts.
class Findings {
public:
    explicit Findings(std::string tableName) : tableName_(std::move(tableName)) {}
    void add(std::int64_t record, const std::string& what)
    {
        if (lines_.size() < StoredValueCheck::listed)
            lines_.push_back(tableName_ + ": record " + std::to_string(record) + ": " + what);
        else
            ++more_;
    }
    std::vector<std::string> lines(const std::string& kind)
    {
        if (more_ > 0)
            lines_.push_back(tableName_ + ": " + std::to_string(more_) + " more records " + kind);
        return std::move(lines_);
    }

private:
    std::string tableName_;
    std::vector<std::string> lines_;
    size_t more_ = 0;
};

}  // namespace

std::vector<std::string> StoredValueCheck::foreignTypes(const std::string& path, const TableDescription& description)
{
    std::string columns, foreign;
    for (const FieldDescription& field : description.fields) {
        std::string type = "typeof(" + TableFiles::quote(field.name) + ")";
        columns += ", " + type;
        foreign += (foreign.empty() ? "" : " OR ") + type +
                   (field.type == ColumnType::Date ? " NOT IN ('text', 'null')" : " <> 'text'");
    }
    if (foreign.empty())
        return {};
    sqlite3* db = nullptr;
    std::vector<std::string> lines;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* scan = nullptr;
        Findings found(description.tableName);
        std::string sql = "SELECT rid" + columns + " FROM records WHERE " + foreign;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &scan, nullptr) == SQLITE_OK)
            while (sqlite3_step(scan) == SQLITE_ROW)
                for (size_t i = 0; i < description.fields.size(); ++i) {
                    const FieldDescription& field = description.fields[i];
                    const auto* text = sqlite3_column_text(scan, static_cast<int>(i) + 1);
                    std::string type = text ? reinterpret_cast<const char*>(text) : "";
                    if (type != "text" && !(type == "null" && field.type == ColumnType::Date))
                        found.add(sqlite3_column_int64(scan, 0),
                                  "field '" + field.name + "' holds " + TableFiles::storageName(type) + ", not text");
                }
        sqlite3_finalize(scan);
        lines = found.lines("hold values of another type");
    }
    sqlite3_close(db);
    return lines;
}

std::vector<std::string> StoredValueCheck::badTexts(EngineCursor& cursor, const std::string& tableName)
{
    Findings found(tableName);
    const TableDescription& description = cursor.description();
    std::vector<EngineRecord> run;
    if (!cursor.setToBegin().ok())
        return {};
    while (cursor.getNextRecords(512, run).ok() && !run.empty()) {
        for (const EngineRecord& record : run)
            for (size_t i = 0; i < record.values.size() && i < description.fields.size(); ++i) {
                if (!record.values[i])
                    continue;
                std::string why = StorableText::problem(*record.values[i]);
                if (!why.empty())
                    found.add(record.bookmark, "field '" + description.fields[i].name + "' " + why);
            }
        if (run.size() < 512)
            break;
    }
    return found.lines("hold text that is not printable UTF-8");
}
