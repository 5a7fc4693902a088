#include "CsvExportSink.h"

#include "DateText.h"
#include "ExportFile.h"

#include <cerrno>
#include <cstring>

CsvExportSink::CsvExportSink(const std::string& path, const RegionalSettings& settings) : dates_(fullYear(settings))
{
    file_ = ExportFile::create(path);
    if (!file_)
        error_ = "Cannot create " + path + ": " + std::strerror(errno);
    writer_ = CsvWriter(file_);
}

CsvExportSink::~CsvExportSink()
{
    if (file_)
        std::fclose(file_);
}

RegionalSettings CsvExportSink::fullYear(const RegionalSettings& settings)
{
    RegionalSettings out = settings;
    std::string format;
    const std::string& in = settings.shortDateFormat;
    for (size_t i = 0; i < in.size();) {
        if (in[i] == 'y') {
            while (i < in.size() && in[i] == 'y')
                ++i;
            format += "yyyy";
        } else {
            format += in[i++];
        }
    }
    out.shortDateFormat = format;
    return out;
}

bool CsvExportSink::failed()
{
    error_ = std::string("Cannot write the file: ") + std::strerror(errno);
    return false;
}

bool CsvExportSink::header(const std::vector<ExportColumn>& columns)
{
    if (!file_)
        return false;
    types_.clear();
    fields_.clear();
    for (const ExportColumn& column : columns) {
        types_.push_back(column.type);
        fields_.push_back(column.name);
    }
    return writer_.writeRecord(fields_) || failed();
}

bool CsvExportSink::row(const std::vector<FieldValue>& values)
{
    fields_.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const FieldValue& value = values[i];
        if (types_[i] == ColumnType::Date) {
            std::optional<CalendarDate> date = value ? CalendarDate::fromIso(*value) : std::nullopt;
            fields_[i] = date ? DateText::format(*date, dates_) : std::string();
        } else {
            fields_[i] = value.value_or(std::string());
        }
    }
    return writer_.writeRecord(fields_) || failed();
}

bool CsvExportSink::finish()
{
    if (!file_)
        return false;
    int rc = std::fclose(file_);
    file_ = nullptr;
    return rc == 0 || failed();
}
