#pragma once
#include "CatalogueField.h"
#include "SchemaStep.h"
#include "TableDescription.h"

#include <string>
#include <vector>

// An index: one field, primary (unique) or not, letters folded or exact.
struct CatalogueIndex {
    std::string name;
    std::string field;
    bool primary = false;
    bool caseInsensitive = false;
};

// One table: its file, the data module's objects, its fields in the data
// module's order (lookup fields beside their codes), its indexes and, for a
// code table, the codes a new database starts with.
struct CatalogueTable {
    std::string tableName;        // "Datapegawai.db"
    std::string object;           // "Tdatapeg"
    std::string dataSource;       // "DSdatapeg"
    bool declaresFields = false;  // the record tables; code tables take the file's columns
    std::vector<CatalogueField> fields;
    std::vector<CatalogueIndex> indexes;
    std::vector<std::vector<std::string>> rows;  // one value per stored column

    // The stored shape in a version: every field that is not a lookup and
    // that the version has, in order; by default the newest.
    TableDescription description(int version = 1 << 30) const;
    // The highest version any of its fields came with.
    int newestVersion() const;
    // A field by name, letter case ignored; nullptr when there is none.
    const CatalogueField* field(const std::string& name) const;
};

// The one description of the nine tables, from which the engine creates
// them on both engines, the data module declares its fields, exports and
// imports take their columns, demonstration records are made and `check`
// compares. To add a column: give it a constant in its table's namespace of
// TableFields.h, with the next version as `since` (databases already made
// get it by that version's upgrade step), and place it in its table's field
// list in TableCatalogue.cpp. A window shows it by naming the constant
// in its layout.
class TableCatalogue {
public:
    // The record tables, then the code tables (the data module opens them
    // in the order TDMarsipstaf::OpeningOrder gives).
    static const std::vector<CatalogueTable>& tables();
    static const CatalogueTable* byFile(const std::string& tableName);
    static const CatalogueTable* byObject(const std::string& object);
    // The upgrade step to version `to` that adds every field that came with
    // it (since == to) to its table; SchemaSteps::program() runs it.
    static SchemaStep columnsOf(int to);
};
