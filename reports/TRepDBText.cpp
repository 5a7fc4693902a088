#include "TRepDBText.h"

#include <exception>

#include "TField.h"

TField* TRepDBText::field() const
{
    if (!DataSet)
        return nullptr;
    try {
        return DataSet->FindField(DataField);
    } catch (const std::exception&) {
        return nullptr;
    }
}

std::string TRepDBText::Text() const
{
    TField* f = field();
    if (!f)
        return {};
    try {
        return f->DisplayText();
    } catch (const std::exception&) {
        return {};
    }
}
