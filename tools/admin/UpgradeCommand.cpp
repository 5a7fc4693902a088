#include "UpgradeCommand.h"

#include "AliasDatabase.h"
#include "EDBEngineError.h"
#include "SchemaUpgrade.h"
#include "UnchangedOnOpen.h"

int UpgradeCommand::run(bool dryRun, std::ostream& out, std::ostream& err)
{
    std::unique_ptr<EngineDatabase> database;
    {
        UnchangedOnOpen asItIs;
        if (!AliasDatabase::open(database, err))
            return 1;
    }
    bool said = false;
    EngineStatus status = SchemaUpgrade::run(*database, dryRun, [&](const std::string& line) {
        out << line << '\n';
        said = true;
    });
    if (!status.ok()) {
        err << EDBEngineError::describe(status) << '\n';
        return 1;
    }
    int version = SchemaSteps::active().version();
    if (!said)
        out << "Every table is of version " << version << "; nothing to upgrade.\n";
    else if (dryRun)
        out << "Dry run: nothing was changed.\n";
    return 0;
}
