#pragma once
#include "CsvWriter.h"
#include "ExportSink.h"
#include "RegionalSettings.h"
#include "ReplacingFile.h"

#include <cstdio>
#include <memory>
#include <string>

// An export as CSV in UTF-8: a header of field names, then the records.
// Dates are written in the order of the regional short date format with a
// four-digit year, so the date rules read them back to the same day.
class CsvExportSink : public ExportSink {
public:
    // Writes beside path (mode 0600), renamed over it by finish(); error()
    // when it cannot.
    CsvExportSink(const std::string& path, const RegionalSettings& settings);
    ~CsvExportSink() override;
    CsvExportSink(const CsvExportSink&) = delete;
    CsvExportSink& operator=(const CsvExportSink&) = delete;

    bool opened() const { return file_ != nullptr; }
    bool header(const std::vector<ExportColumn>& columns) override;
    bool row(const std::vector<FieldValue>& values) override;
    bool finish() override;

    // The date text export writes: the short date format, years in four digits.
    static RegionalSettings fullYear(const RegionalSettings& settings);

private:
    bool failed();

    std::unique_ptr<ReplacingFile> replacing_;
    std::FILE* file_ = nullptr;  // replacing_'s stream
    CsvWriter writer_{nullptr};
    RegionalSettings dates_;
    std::vector<ColumnType> types_;
    std::vector<std::string> fields_;
};
