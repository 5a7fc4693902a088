#pragma once
#include "EngineCursor.h"

#include <string>
#include <vector>

// The values check reports, one line per record: values of another storage
// type in a table file, and stored text that is not UTF-8 text of printable
// characters and tab (both written by another tool). Only reads.
class StoredValueCheck {
public:
    // Lines beyond this many per table are counted, not listed.
    static constexpr size_t listed = 100;

    // Records of the table file at path whose columns (as described) hold
    // values of another type: "Datapegawai.db: record 12: field 'NIP' holds
    // binary data, not text".
    static std::vector<std::string> foreignTypes(const std::string& path, const TableDescription& description);
    // Records read through cursor (either engine) holding text that may not
    // be stored: "Datapegawai.db: record 12: field 'Nama_Pegawai' holds ...".
    static std::vector<std::string> badTexts(EngineCursor& cursor, const std::string& tableName);
};
