#pragma once
#include "SchemaStep.h"
#include "TableDescription.h"

#include <string>
#include <vector>

// One field of a table as the program knows it: a stored column, or a
// lookup field that shows the text a code table gives a code.
struct CatalogueField {
    std::string name;    // the column ("Nama_Pegawai"), or the lookup field ("Jenis Kelamin")
    std::string object;  // the data module's field object ("TdatapegNama_Pegawai"); "" for code tables
    ColumnType type = ColumnType::Text;
    int size = 0;      // characters; a lookup field's text is cut to it
    std::string mask;  // edit mask; "" for none
    bool required = false;
    std::string label;  // title in grids and exports; "" for the name
    // Lookup fields only: the code field of this table and where its text is.
    std::string keyField;      // "Kd_JK"
    std::string lookupTable;   // "JK.db"
    std::string lookupKey;     // "Kd_JK"
    std::string lookupResult;  // "JK"
    int since = 1;             // the shape version that added it (SchemaSteps)

    bool isLookup() const { return !lookupTable.empty(); }
};

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
// compares. A column is added here (and, for databases already made, by a
// step in SchemaSteps); a window shows it by naming it in its layout.
class TableCatalogue {
public:
    // In the order the data module opens them.
    static const std::vector<CatalogueTable>& tables();
    static const CatalogueTable* byFile(const std::string& tableName);
    static const CatalogueTable* byObject(const std::string& object);
    // The upgrade step to version `to` that adds every field that came with
    // it (since == to) to its table, for SchemaSteps::program().
    static SchemaStep columnsOf(int to);
};
