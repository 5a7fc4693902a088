#pragma once
#include "PrintableText.h"
#include "TDataSet.h"

// The display text of one field of the current record. A field that is not
// found, or whose value cannot be read, prints as an empty text.
class TRepDBText : public PrintableText {
public:
    using PrintableText::PrintableText;
    // Looks the field up by name on every call; a run looks it up once.
    std::string Text() const override;
    // The field named by DataField; nullptr when there is none.
    TField* field() const;

    TDataSet* DataSet = nullptr;  // does not take ownership
    std::string DataField;
    // Set by no report of this program; text fields keep their display text.
    std::string Mask;
};
