#include "CsvExportSink.h"

#include "DateText.h"

#include <cerrno>
#include <cstring>

CsvExportSink::CsvExportSink(const std::string& path, const RegionalSettings& settings)
    : file_(path), dates_(fullYear(settings))
{
    if (!file_.ok())
        error_ = file_.error();
    else
        writer_ = CsvWriter(file_.stream());
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
    file_.failed(errno);
    error_ = file_.error();
    return false;
}

bool CsvExportSink::header(const std::vector<ExportColumn>& columns)
{
    if (!file_.ok())
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
    if (file_.commit())
        return true;
    error_ = file_.error();
    return false;
}
