#include "CsvExportSink.h"

#include "DateText.h"
#include "ExportFile.h"

#include <cerrno>
#include <cstring>

CsvExportSink::CsvExportSink(const std::string& path, const RegionalSettings& settings) : dates_(fullYear(settings))
{
    replacing_ = ExportFile::create(path);
    file_ = replacing_->ok() ? replacing_->stream() : nullptr;
    if (!file_)
        error_ = replacing_->error();
    writer_ = CsvWriter(file_);
}

CsvExportSink::~CsvExportSink() = default;  // unfinished: the replacing file goes

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
    if (std::fflush(file_) != 0)
        return failed();
    file_ = nullptr;
    if (!replacing_->commit()) {
        error_ = replacing_->error();
        return false;
    }
    return true;
}
