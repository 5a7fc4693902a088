#pragma once
#include "EngineRecord.h"

#include <vector>

// One row of a dataset's record window: the stored values as the engine
// gave them, and the lookup values computed for them.
struct RecordBuffer {
    EngineRecord record;
    std::vector<FieldValue> lookups;  // one per lookup field, in field order
    // The lookups are computed when a lookup field of this row is first
    // read: most rows fetched are passed over unseen.
    bool lookupsDue = false;
};
