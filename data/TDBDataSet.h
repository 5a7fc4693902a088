#pragma once
#include "EngineDatabase.h"
#include "TEngineDataSet.h"

#include <memory>
#include <string>

// A dataset bound to a database alias, resolved by the engine's session.
class TDBDataSet : public TEngineDataSet {
public:
    using TEngineDataSet::TEngineDataSet;

    std::string DatabaseName;  // the alias, as "rekam_induk"

    // The tables of this dataset's database as they stand now, read past
    // every dataset through a connection of their own (exports).
    EngineStatus openSnapshot(std::unique_ptr<EngineSnapshot>& out) { return Database().openSnapshot(out); }

protected:
    // Opens the alias's database on first use (starting the engine).
    EngineDatabase& Database();
    void InternalClose() override;

private:
    std::unique_ptr<EngineDatabase> database_;
};
