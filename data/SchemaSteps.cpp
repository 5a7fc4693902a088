#include "SchemaSteps.h"

#include "ChangeHistory.h"

namespace {

const SchemaSteps* installed = nullptr;
int installCount = 0;

std::string stepLine(const std::string& tableName, const SchemaStep& step)
{
    return tableName + ": version " + std::to_string(step.from) + " to " + std::to_string(step.from + 1) + ": " +
           step.text;
}

}  // namespace

EngineStatus SchemaSteps::run(SchemaChange& change, int from, const std::function<void(const std::string&)>& say) const
{
    for (int version = from; version < this->version(); ++version) {
        const SchemaStep& step = steps[static_cast<size_t>(version - 1)];
        EngineStatus status = step.apply(change);
        if (!status.ok())
            return status;
        if (say)
            say(stepLine(change.tableName(), step));
    }
    return EngineStatus::success();
}

std::vector<std::string> SchemaSteps::plan(const std::string& tableName, int from) const
{
    std::vector<std::string> lines;
    for (int version = from; version < this->version(); ++version)
        lines.push_back(stepLine(tableName, steps[static_cast<size_t>(version - 1)]));
    return lines;
}

std::string SchemaSteps::newerMessage()
{
    return "The table was made by a newer version of the program.";
}

std::string SchemaSteps::newerDetail(const std::string& tableName, int found, int known)
{
    return tableName + " has version " + std::to_string(found) + "; this program knows versions up to " +
           std::to_string(known) + ". Nothing was changed.";
}

const SchemaSteps& SchemaSteps::program()
{
    // Version 1 is the shape the catalogue describes for it; a new column
    // comes with a step TableCatalogue::columnsOf(version) here.
    static const SchemaSteps steps{{
        ChangeHistory::upgradeStep(1),
    }};
    return steps;
}

const SchemaSteps& SchemaSteps::active()
{
    return installed ? *installed : program();
}

void SchemaSteps::install(const SchemaSteps* steps)
{
    installed = steps;
    ++installCount;
}

int SchemaSteps::installs()
{
    return installCount;
}
