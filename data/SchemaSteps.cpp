#include "SchemaSteps.h"

#include "ChangeHistory.h"
#include "TableCatalogue.h"

#include <algorithm>

namespace {

const SchemaSteps* installed = nullptr;
int installCount = 0;

std::string stepLine(const std::string& tableName, const SchemaStep& step)
{
    return tableName + ": version " + std::to_string(step.from) + " to " + std::to_string(step.from + 1) + ": " +
           step.text;
}

// Passes a step's changes on (or, for a plan, nowhere) and counts them, so
// that a step is told only for the tables it changes.
class CountingChange : public SchemaChange {
public:
    CountingChange(SchemaChange* target, std::string tableName) : target_(target), tableName_(std::move(tableName)) {}
    const std::string& tableName() const override { return tableName_; }
    bool onServer() const override { return target_ && target_->onServer(); }
    EngineStatus addColumn(const FieldDescription& field) override
    {
        ++changes;
        return target_ ? target_->addColumn(field) : EngineStatus::success();
    }
    EngineStatus execute(const std::string& sql) override
    {
        ++changes;
        return target_ ? target_->execute(sql) : EngineStatus::success();
    }
    int changes = 0;

private:
    SchemaChange* target_;
    std::string tableName_;
};

}  // namespace

EngineStatus SchemaSteps::run(SchemaChange& change, int from, const std::function<void(const std::string&)>& say) const
{
    for (int version = from; version < this->version(); ++version) {
        const SchemaStep& step = steps[static_cast<size_t>(version - 1)];
        CountingChange counted(&change, change.tableName());
        EngineStatus status = step.apply(counted);
        if (!status.ok())
            return status;
        if (say && counted.changes > 0)
            say(stepLine(change.tableName(), step));
    }
    return EngineStatus::success();
}

std::vector<std::string> SchemaSteps::plan(const std::string& tableName, int from) const
{
    std::vector<std::string> lines;
    for (int version = from; version < this->version(); ++version) {
        const SchemaStep& step = steps[static_cast<size_t>(version - 1)];
        CountingChange counted(nullptr, tableName);
        if (step.apply(counted).ok() && counted.changes > 0)
            lines.push_back(stepLine(tableName, step));
    }
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

namespace {

// Steps that do more than add the catalogue's columns (which come by
// themselves, see program()), in version order.
std::vector<SchemaStep> writtenSteps()
{
    return {ChangeHistory::upgradeStep(1)};
}

// The step to version `to`: the catalogue's columns of that version, then
// the written step of that version, if any.
SchemaStep stepTo(int to, const std::vector<SchemaStep>& written)
{
    SchemaStep step = TableCatalogue::columnsOf(to);
    for (const SchemaStep& extra : written) {
        if (extra.from + 1 != to)
            continue;
        step.text += (step.text.empty() ? "" : "; ") + extra.text;
        step.apply = [columns = step.apply, extra = extra.apply](SchemaChange& change) {
            EngineStatus status = columns(change);
            return status.ok() ? extra(change) : status;
        };
    }
    return step;
}

}  // namespace

const SchemaSteps& SchemaSteps::program()
{
    // Version 1 is the shape the catalogue describes for it. A field the
    // catalogue gives a later version (since) is added by that version's
    // step; writtenSteps() holds whatever else a version does.
    static const SchemaSteps steps = [] {
        std::vector<SchemaStep> written = writtenSteps();
        int newest = 1;
        for (const CatalogueTable& table : TableCatalogue::tables())
            newest = std::max(newest, table.newestVersion());
        for (const SchemaStep& step : written)
            newest = std::max(newest, step.from + 1);
        SchemaSteps made;
        for (int to = 2; to <= newest; ++to)
            made.steps.push_back(stepTo(to, written));
        return made;
    }();
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
