#pragma once
#include "FieldDescription.h"
#include "IndexDescription.h"

#include <string>
#include <vector>

// What the engine tells about an open table: its columns in file order and
// its indexes, the primary index first.
struct TableDescription {
    std::string tableName;  // "Datapegawai.db"
    std::string path;       // full path of the file
    std::vector<FieldDescription> fields;
    std::vector<IndexDescription> indexes;
    int version = 1;  // the version of the shape (SchemaSteps); 1 where none is recorded

    // Column number of a name compared without regard to letter case, or -1.
    int fieldNumber(const std::string& name) const;

    bool operator==(const TableDescription&) const = default;
};
