#pragma once
#include "EngineStatus.h"

#include <string>
#include <unordered_map>

class EngineSnapshot;

// The codes of a code table with their texts, read in one pass: what
// exports and imports use instead of a lookup per record.
class CodeTexts {
public:
    using Map = std::unordered_map<std::string, std::string>;

    // Every value of column key in tableName as snapshot holds it, with the
    // value of column result beside it, cut to size characters (0: whole).
    // Where a code appears twice the first in key order wins, as a lookup
    // finds it.
    static EngineStatus read(EngineSnapshot& snapshot, const std::string& tableName, const std::string& key,
                             const std::string& result, int size, Map& out);
};
