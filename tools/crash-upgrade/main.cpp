// The program of tools/crash-test.sh --upgrade: upgrades the table files in
// DIR to a version 2 that exists only here, as opening them would (backup
// first, one transaction per file). Its step adds the column Catatan to every
// table and then writes it in every record, so that the upgrade writes every
// page and a kill can land anywhere in it.
#include "EDBEngineError.h"
#include "SchemaSteps.h"
#include "SchemaUpgrade.h"
#include "SqliteDatabase.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: arsipstaf-crash-upgrade DIR\n";
        return 2;
    }
    SchemaSteps steps = SchemaSteps::program();
    SchemaStep step;
    step.from = steps.version();
    step.text = "column Catatan added to every table";
    step.apply = [](SchemaChange& change) {
        FieldDescription note;
        note.name = "Catatan";
        note.typeName = "String";
        note.size = 40;
        note.hasDefault = true;
        note.defaultValue = "-";
        EngineStatus status = change.addColumn(note);
        return status.ok() ? change.execute("UPDATE {table} SET Catatan = 'diperbarui'") : status;
    };
    steps.steps.push_back(step);
    SchemaSteps::install(&steps);
    SqliteDatabase database(argv[1]);
    EngineStatus status = SchemaUpgrade::run(database, false, [](const std::string& line) { std::cout << line << '\n'; });
    if (!status.ok()) {
        std::cerr << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    return 0;
}
