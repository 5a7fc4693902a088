#include "XlsxExportSink.h"

#include "CsvExportSink.h"
#include "DateText.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstring>

XlsxExportSink::XlsxExportSink(const std::string& path, const RegionalSettings& settings) : file_(path)
{
    if (!file_.ok()) {
        error_ = file_.error();
        return;
    }
    lxw_workbook_options options = {};
    options.constant_memory = LXW_TRUE;
    workbook_ = workbook_new_opt(file_.path().c_str(), &options);
    if (!workbook_) {
        error_ = "Cannot create " + path;
        return;
    }
    sheet_ = workbook_add_worksheet(workbook_, nullptr);
    bold_ = workbook_add_format(workbook_);
    format_set_bold(bold_);
    date_ = workbook_add_format(workbook_);
    format_set_num_format(date_, dateFormat(CsvExportSink::fullYear(settings)).c_str());
}

XlsxExportSink::~XlsxExportSink()
{
    // An unfinished workbook is still closed, so its temporary files go.
    if (workbook_)
        workbook_close(workbook_);
}

std::string XlsxExportSink::dateFormat(const RegionalSettings& settings)
{
    std::string format;
    for (char c : settings.shortDateFormat) {
        if (c == 'd' || c == 'M' || c == 'y')
            format += static_cast<char>(c == 'M' ? 'm' : c);
        else
            format += std::string("\\") + c;
    }
    return format;
}

bool XlsxExportSink::failed(int code)
{
    if (errno == ENOSPC || errno == EDQUOT) {  // the writer's own codes do not tell a full disk
        file_.failed(errno);
        error_ = file_.error();
        return false;
    }
    error_ = std::string("Cannot write the workbook: ") + lxw_strerror(static_cast<lxw_error>(code));
    return false;
}

bool XlsxExportSink::header(const std::vector<ExportColumn>& columns)
{
    if (!workbook_)
        return false;
    types_.clear();
    for (size_t i = 0; i < columns.size(); ++i) {
        auto col = static_cast<lxw_col_t>(i);
        types_.push_back(columns[i].type);
        if (columns[i].type == ColumnType::Date)
            worksheet_set_column(sheet_, col, col, 11, nullptr);
        lxw_error rc = worksheet_write_string(sheet_, 0, col, columns[i].name.c_str(), bold_);
        if (rc != LXW_NO_ERROR)
            return failed(rc);
    }
    worksheet_freeze_panes(sheet_, 1, 0);
    row_ = 1;
    return true;
}

bool XlsxExportSink::row(const std::vector<FieldValue>& values)
{
    if (row_ >= maxRows) {
        error_ = "A worksheet holds at most " + std::to_string(maxRows - 1) + " records.";
        return false;
    }
    for (size_t i = 0; i < values.size(); ++i) {
        const FieldValue& value = values[i];
        if (!value || value->empty())
            continue;
        auto col = static_cast<lxw_col_t>(i);
        lxw_error rc = LXW_NO_ERROR;
        if (types_[i] == ColumnType::Date) {
            std::optional<CalendarDate> date = CalendarDate::fromIso(*value);
            if (!date)
                continue;
            lxw_datetime when = {date->year, date->month, date->day, 0, 0, 0};
            rc = worksheet_write_datetime(sheet_, row_, col, &when, date_);
        } else {
            rc = worksheet_write_string(sheet_, row_, col, value->c_str(), nullptr);
        }
        if (rc != LXW_NO_ERROR)
            return failed(rc);
    }
    ++row_;
    return true;
}

bool XlsxExportSink::finish()
{
    if (!workbook_)
        return false;
    lxw_error rc = workbook_close(workbook_);
    workbook_ = nullptr;
    if (rc != LXW_NO_ERROR)
        return failed(rc);
    if (file_.commit())
        return true;
    error_ = file_.error();
    return false;
}

// The module's one entry (see XlsxExport::open).
extern "C" __attribute__((visibility("default"))) ExportSink* arsipstaf_xlsx_sink(const std::string& path,
                                                                                  const RegionalSettings& settings)
{
    return new XlsxExportSink(path, settings);
}
