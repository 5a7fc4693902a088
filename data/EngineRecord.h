#pragma once
#include "FieldValue.h"

#include <cstdint>
#include <vector>

// A record buffer: one value per column of the table, in file order, and the
// bookmark of the stored record it came from (0 for a record not yet stored).
struct EngineRecord {
    std::vector<FieldValue> values;
    std::int64_t bookmark = 0;
};
