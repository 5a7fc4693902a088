#include "TDateField.h"

#include "DateText.h"
#include "EConvertError.h"

TDateField::TDateField(std::string fieldName) : TField(std::move(fieldName), "Date")
{
}

std::string TDateField::DisplayText() const
{
    FieldValue value = Value();
    if (!value)
        return {};
    std::optional<CalendarDate> date = CalendarDate::fromIso(*value);
    return date ? DateText::format(*date, RegionalSettings::current()) : *value;
}

FieldValue TDateField::ConvertText(const std::string& text) const
{
    if (text.empty())
        return std::nullopt;
    std::optional<CalendarDate> date = DateText::parse(text, RegionalSettings::current(), CalendarDate::today().year);
    if (!date)
        throw EConvertError("'" + text + "' is not a valid date");
    return date->iso();
}
