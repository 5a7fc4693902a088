#include "TableArgument.h"

#include "TDMarsipstaf.h"

#include <strings.h>

TTable* TableArgument::find(TDMarsipstaf& module, const std::string& text, std::ostream& err)
{
    for (TTable* table : module.Tables())
        if (strcasecmp(table->Name().c_str(), text.c_str()) == 0 || strcasecmp(table->TableName.c_str(), text.c_str()) == 0)
            return table;
    err << "Unknown table " << text << "; one of:";
    for (TTable* table : module.Tables())
        err << ' ' << table->Name();
    err << '\n';
    return nullptr;
}
