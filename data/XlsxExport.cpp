#include "XlsxExport.h"

#include "EDBEngineError.h"
#include "EngineModule.h"

namespace {

// Stands in for the workbook when its module is missing: the export stops
// at once with the reason.
class MissingModuleSink : public ExportSink {
public:
    explicit MissingModuleSink(std::string error) { error_ = std::move(error); }
    bool header(const std::vector<ExportColumn>&) override { return false; }
    bool row(const std::vector<FieldValue>&) override { return false; }
    bool finish() override { return false; }
};

}  // namespace

std::unique_ptr<ExportSink> XlsxExport::open(const std::string& path, const RegionalSettings& settings)
{
    void* entry = nullptr;
    EngineStatus status = EngineModule::load(moduleName, entryName, entry);
    if (!status.ok())
        return std::make_unique<MissingModuleSink>(EDBEngineError::describe(status));
    using Make = ExportSink* (*)(const std::string&, const RegionalSettings&);
    return std::unique_ptr<ExportSink>(reinterpret_cast<Make>(entry)(path, settings));
}
