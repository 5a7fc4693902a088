#pragma once
#include "TField.h"

// A calendar date without time of day, shown in the short date format.
class TDateField : public TField {
public:
    explicit TDateField(std::string fieldName);

    int DisplayWidth() const override { return 10; }
    std::string DisplayText() const override;
    std::string EditText() const override { return DisplayText(); }
    // "" clears the field; anything else must read as a whole date, else
    // EConvertError "'%s' is not a valid date".
    FieldValue ConvertText(const std::string& text) const override;
};
