#include "TableArgument.h"

#include "AliasDatabase.h"
#include "EDBEngineError.h"
#include "SqliteTableFile.h"
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

bool TableArgument::openFile(const TTable& table, std::unique_ptr<EngineDatabase>& database,
                             std::shared_ptr<SqliteTableFile>& file, std::ostream& err)
{
    if (!AliasDatabase::open(database, err))
        return false;
    EngineStatus status = SqliteTableFile::open(database->directory(), table.TableName, file);
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return false;
    }
    return true;
}
