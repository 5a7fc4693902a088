#pragma once
#include "ExportSink.h"
#include "RegionalSettings.h"
#include "ReplacingFile.h"

#include <memory>

#include <string>

struct lxw_workbook;
struct lxw_worksheet;
struct lxw_format;

// An export as a spreadsheet workbook: one sheet, the header row in bold
// and frozen, dates as real spreadsheet dates shown in the regional order.
// Rows go to disk as they come (the writer's constant-memory mode), so the
// size of the table does not matter; a sheet holds at most 1,048,575 records.
class XlsxExportSink : public ExportSink {
public:
    XlsxExportSink(const std::string& path, const RegionalSettings& settings);
    ~XlsxExportSink() override;
    XlsxExportSink(const XlsxExportSink&) = delete;
    XlsxExportSink& operator=(const XlsxExportSink&) = delete;

    bool opened() const { return workbook_ != nullptr; }
    bool header(const std::vector<ExportColumn>& columns) override;
    bool row(const std::vector<FieldValue>& values) override;
    bool finish() override;

    static constexpr unsigned maxRows = 1048576;
    // "dd/MM/yyyy" as a spreadsheet number format ("dd/mm/yyyy").
    static std::string dateFormat(const RegionalSettings& settings);

private:
    bool failed(int code);

    std::unique_ptr<ReplacingFile> replacing_;  // the workbook is written to its path
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* date_ = nullptr;
    std::vector<ColumnType> types_;
    unsigned row_ = 0;
};
