#pragma once
#include "ExportSink.h"
#include "RegionalSettings.h"

#include <memory>
#include <string>

// Exports as spreadsheet workbooks: the module arsipstaf-xlsx, which alone
// links the workbook writer, loaded on the first such export.
class XlsxExport {
public:
    // A sink writing path. When the module cannot be loaded the sink takes
    // nothing, its error naming the module.
    static std::unique_ptr<ExportSink> open(const std::string& path, const RegionalSettings& settings);

    static constexpr const char* moduleName = "arsipstaf-xlsx";
    static constexpr const char* entryName = "arsipstaf_xlsx_sink";
};
