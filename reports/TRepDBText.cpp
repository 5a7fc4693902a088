#include "TRepDBText.h"

#include <exception>

#include "TField.h"

void TRepDBText::Prepare()
{
    field_ = nullptr;
    if (!DataSet)
        return;
    try {
        field_ = DataSet->FindField(DataField);
    } catch (const std::exception&) {
        field_ = nullptr;
    }
}

std::string TRepDBText::Text() const
{
    if (!field_)
        return {};
    try {
        return field_->DisplayText();
    } catch (const std::exception&) {
        return {};
    }
}
