#pragma once
#include "EngineDatabase.h"

#include <memory>
#include <ostream>

// Opens the database the alias rekam_induk names, as the program does;
// false (with the engine's message on err) when it cannot.
class AliasDatabase {
public:
    static bool open(std::unique_ptr<EngineDatabase>& database, std::ostream& err);
};
