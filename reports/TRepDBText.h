#pragma once
#include "TDataSet.h"
#include "TRepPrintable.h"

// The display text of one field of the current record. A field that is not
// found, or whose value cannot be read, prints as an empty text.
class TRepDBText : public TRepPrintable {
public:
    using TRepPrintable::TRepPrintable;
    std::string Text() const override;
    void Prepare() override;
    void Unprepare() override { field_ = nullptr; }

    TDataSet* DataSet = nullptr;  // does not take ownership
    std::string DataField;
    // Set by no report of this program; text fields keep their display text.
    std::string Mask;

private:
    TField* field_ = nullptr;
};
