#pragma once
#include "EngineStatus.h"
#include "SchemaChange.h"

#include <functional>
#include <string>

// One upgrade of the tables' shape from version `from` to from + 1. apply is
// called once for every table of the database (it leaves alone the tables it
// does not change), inside that table's upgrade transaction.
struct SchemaStep {
    int from = 1;
    std::string text;  // what it does, as the upgrade reports it: "column Catatan added to Datapegawai.db"
    std::function<EngineStatus(SchemaChange&)> apply;
};
