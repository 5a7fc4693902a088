#pragma once
#include "ExportColumn.h"
#include "TableDescription.h"

#include <string>
#include <vector>

class TTable;

// The columns an export writes for a table object: its declared fields in
// field order, lookup fields with their texts beside the codes, or, for a
// table without declared fields, every column of its file.
class ExportLayout {
public:
    // The columns named by names (every declared field when empty) of table,
    // bound to the columns of file. Fails (false, why in error) when a name
    // is no field of the table, a data field has no column in the file, or
    // a lookup's code table is not a table file of the same database.
    static bool forTable(const TTable& table, const TableDescription& file, const std::vector<std::string>& names,
                         std::vector<ExportColumn>& out, std::string& error);
};
