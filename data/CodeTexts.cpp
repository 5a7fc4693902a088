#include "CodeTexts.h"

#include "EngineSnapshot.h"
#include "SqliteTableFile.h"

EngineStatus CodeTexts::read(EngineSnapshot& snapshot, const std::string& tableName, const std::string& key,
                             const std::string& result, int size, Map& out)
{
    TableDescription description;
    EngineStatus status = snapshot.describe(tableName, description);
    if (!status.ok())
        return status;
    int keyColumn = description.fieldNumber(key), textColumn = description.fieldNumber(result);
    if (keyColumn < 0 || textColumn < 0)
        return EngineStatus::failure(EngineCode::NoSuchField,
                                     "Field '" + (keyColumn < 0 ? key : result) + "' not found",
                                     {"Table: " + tableName, "Database: " + snapshot.location()});
    // Equal codes come in record order: the first stays.
    return snapshot.scanByRecordNumber(tableName, [&](const EngineRecord& record) {
        const FieldValue& code = record.values[static_cast<size_t>(keyColumn)];
        const FieldValue& text = record.values[static_cast<size_t>(textColumn)];
        out.emplace(code.value_or(std::string()), SqliteTableFile::cutToSize(text.value_or(std::string()), size));
        return EngineStatus::success();
    });
}
