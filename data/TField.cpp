#include "TField.h"

#include "TDataSet.h"

TField::TField(std::string fieldName, std::string typeName)
    : fieldName_(std::move(fieldName)), typeName_(std::move(typeName))
{
}

FieldValue TField::Value() const
{
    return dataSet_ ? dataSet_->FieldValueOf(*this) : std::nullopt;
}

std::string TField::AsString() const
{
    return Value().value_or(std::string());
}

bool TField::CanModify() const
{
    if (ReadOnly || IsLookup() || !dataSet_ || !dataSet_->CanModify())
        return false;
    return true;
}

void TField::FocusControl()
{
    if (!dataSet_)
        return;
    TField* target = this;  // cleared by the control that takes the focus
    dataSet_->DataEvent(TDataEvent::deFocusControl, reinterpret_cast<std::intptr_t>(&target));
}

void TField::Bind(TDataSet* dataSet, int fieldNo)
{
    dataSet_ = dataSet;
    fieldNo_ = fieldNo;
}

void TField::SetValue(const FieldValue& value)
{
    if (!dataSet_)
        throw std::logic_error("field '" + fieldName_ + "' belongs to no dataset");
    dataSet_->SetFieldValue(*this, value);
}
