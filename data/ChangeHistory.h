#pragma once
#include "FieldValue.h"
#include "HistoryField.h"
#include "SchemaStep.h"
#include "TableDescription.h"

#include <string>
#include <vector>

// What the change history of a table records: the tables that keep one,
// the key of a record, and the fields an added, changed or deleted record
// puts into its entry. Both engines write their entries from these, in the
// transaction of the change itself.
class ChangeHistory {
public:
    static constexpr const char* added = "added";
    static constexpr const char* changed = "changed";
    static constexpr const char* deleted = "deleted";

    // Whether the table's records get a history (the employee and transfer tables).
    static bool kept(const std::string& tableName);
    // The primary key of a record as the history names it; several key fields are joined by '/'.
    static std::string keyOf(const TableDescription& description, const std::vector<FieldValue>& values);
    // The fields an entry lists: for a change those whose stored value
    // differs; for an added (deleted) record its key fields and every field
    // with a value, so that an entry is never empty.
    static std::vector<HistoryField> changedFields(const TableDescription& description,
                                                   const std::vector<FieldValue>& before,
                                                   const std::vector<FieldValue>& after);
    static std::vector<HistoryField> addedFields(const TableDescription& description,
                                                 const std::vector<FieldValue>& values);
    static std::vector<HistoryField> deletedFields(const TableDescription& description,
                                                   const std::vector<FieldValue>& values);
    // The upgrade step that gives the tables that keep a history an empty
    // one (the only place a history is made, for new databases too).
    static SchemaStep upgradeStep(int from);
    // The server's history table and its indexes in schema.
    static std::string serverCreateSql(const std::string& schema);

    // The operating-system account and host of this process, "user@host".
    static const std::string& fileAccount();
    // Now in UTC, "YYYY-MM-DDTHH:MM:SS.mmmZ".
    static std::string utcNow();

private:
    static bool isKeyField(const TableDescription& description, size_t field);
    static std::vector<HistoryField> wholeRecord(const TableDescription& description,
                                                 const std::vector<FieldValue>& values, bool after);
};
