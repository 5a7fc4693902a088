#pragma once
#include "FieldDescription.h"

#include <string>

// One column of an exported table: where its value comes from in a record
// of the table file and how it is written.
struct ExportColumn {
    std::string name;                    // the header: the field's name
    ColumnType type = ColumnType::Text;  // dates become spreadsheet dates
    int column = -1;                     // record column: the value, or the code a lookup reads
    std::string lookupTable;             // code table file of a lookup column; empty for a data column
    std::string lookupKey, lookupResult;
    int size = 0;          // a lookup text is cut to this many characters
    std::string editMask;  // a masked text is written as displayed (empty stays empty)

    bool isLookup() const { return !lookupTable.empty(); }
};
