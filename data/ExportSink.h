#pragma once
#include "ExportColumn.h"
#include "FieldValue.h"

#include <string>
#include <vector>

// Where an export writes: a header, then one row per record. Values are
// texts, dates "YYYY-MM-DD", null for no date. Each call returns false on
// a write failure, with error() saying why; the export then stops.
class ExportSink {
public:
    virtual ~ExportSink() = default;
    virtual bool header(const std::vector<ExportColumn>& columns) = 0;
    virtual bool row(const std::vector<FieldValue>& values) = 0;
    // Completes the file; nothing is complete before it returns true.
    virtual bool finish() = 0;
    const std::string& error() const { return error_; }

protected:
    std::string error_;
};
