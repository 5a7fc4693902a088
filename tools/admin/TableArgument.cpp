#include "TableArgument.h"

#include "AliasDatabase.h"
#include "EDBEngineError.h"
#include "EngineDatabase.h"
#include "TDMarsipstaf.h"

#include <strings.h>

TTable* TableArgument::find(TDMarsipstaf& module, const std::string& text, std::ostream& err)
{
    for (TTable* table : module.Tables())
        if (strcasecmp(table->Name().c_str(), text.c_str()) == 0 ||
            strcasecmp(table->TableName.c_str(), text.c_str()) == 0)
            return table;
    err << "Unknown table " << text << "; one of:";
    for (TTable* table : module.Tables())
        err << ' ' << table->Name();
    err << '\n';
    return nullptr;
}

bool TableArgument::openSnapshot(const TTable& table, std::unique_ptr<EngineDatabase>& database,
                                 std::unique_ptr<EngineSnapshot>& snapshot, TableDescription& description,
                                 std::ostream& err)
{
    if (!AliasDatabase::open(database, err))
        return false;
    EngineStatus status = database->openSnapshot(snapshot);
    if (status.ok())
        status = snapshot->describe(table.TableName, description);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return false;
    }
    return true;
}
