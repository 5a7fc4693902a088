#pragma once
#include "EngineRecord.h"

// A reading of a dataset's records, first to last in the ordering the
// dataset had when the reading began, through a storage cursor of its own:
// the dataset's current record does not move and its links hear nothing.
class RecordReader {
public:
    virtual ~RecordReader() = default;
    // The next record; false after the last.
    virtual bool Next(EngineRecord& out) = 0;
};
