#pragma once
#include "FieldValue.h"

#include <cstdint>
#include <string>

// One row of a table's change history as the engine reads it back: one
// changed field of one entry. The rows of an entry share its number, time,
// account, key and kind.
struct HistoryRow {
    std::int64_t entry = 0;  // grows with every change of the table
    std::string time;        // UTC, "YYYY-MM-DDTHH:MM:SS.mmmZ"
    std::string account;     // "user@host" on table files, the server role on a server
    std::string tableName;   // "Datapegawai.db"
    std::string key;         // the record's key after the change (before it, for a delete)
    std::string oldKey;      // the key before, when the change moved the record to another key
    std::string kind;        // ChangeHistory::added, changed or deleted
    std::string field;
    FieldValue oldValue;
    FieldValue newValue;
};
