#pragma once
#include "EngineRecord.h"

#include <vector>

// One row of a dataset's record window: the stored values as the engine
// gave them, and the lookup values computed for them.
struct RecordBuffer {
    EngineRecord record;
    std::vector<FieldValue> lookups;  // one per lookup field, in field order
};
