#pragma once
#include "FieldDescription.h"

// One field of a table as the program knows it: a stored column, or a
// lookup field that shows the text a code table gives a code. Each is a
// constant of TableFields.h, so windows, grids and reports name a field
// through the compiler and a misspelt name does not build.
struct CatalogueField {
    const char* table = "";   // its table's file ("Datapegawai.db")
    const char* name = "";    // the column ("Nama_Pegawai"), or the lookup field ("Jenis Kelamin")
    const char* object = "";  // the data module's field object ("TdatapegNama_Pegawai"); "" for code tables
    ColumnType type = ColumnType::Text;
    int size = 0;           // characters; a lookup field's text is cut to it; a date's text length
    const char* mask = "";  // edit mask; "" for none
    bool required = false;
    const char* label = "";  // title in grids and exports; "" for the name
    // Lookup fields only: the code field of this table and where its text is.
    const char* keyField = "";      // "Kd_JK"
    const char* lookupTable = "";   // "JK.db"
    const char* lookupKey = "";     // "Kd_JK"
    const char* lookupResult = "";  // "JK"
    int since = 1;                  // the shape version that added it (SchemaSteps)

    constexpr bool isLookup() const { return *lookupTable != '\0'; }
};
