#include "TStringField.h"

#include "EditMask.h"
#include "UnicodeText.h"

TStringField::TStringField(std::string fieldName, int size)
    : TField(std::move(fieldName), "String"), size_(size > 0 ? size : 20)
{
}

std::string TStringField::DisplayText() const
{
    std::string text = AsString();
    if (EditMask.empty())
        return text;
    return parsedMask().displayText(text);
}

const ::EditMask& TStringField::parsedMask() const
{
    if (parsed_.text() != EditMask)
        parsed_ = ::EditMask(EditMask);
    return parsed_;
}

bool TStringField::IsBlank() const
{
    const FieldValue value = Value();
    if (!value || value->empty())
        return true;
    return !EditMask.empty() && parsedMask().isBlankValue(*value);
}

FieldValue TStringField::ConvertText(const std::string& text) const
{
    if (text.empty())
        return std::string();
    return UnicodeText::leftUtf8(text, static_cast<size_t>(size_));
}
