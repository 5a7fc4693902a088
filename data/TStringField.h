#pragma once
#include "EditMask.h"
#include "TField.h"

// Text of at most Size characters (20 when not declared). Longer text is cut
// without a message.
class TStringField : public TField {
public:
    explicit TStringField(std::string fieldName, int size = 20);

    int Size() const override { return size_; }
    void SetSize(int size) { size_ = size; }
    int DisplayWidth() const override { return size_; }
    // Formatted through the edit mask when the field has one.
    std::string DisplayText() const override;
    FieldValue ConvertText(const std::string& text) const override;
    // Null or empty; with an edit mask also a text whose mask positions
    // are all spaces (only the literals filled).
    bool IsBlank() const override;

private:
    // The edit mask parsed once, not for every value shown; parsed again
    // when EditMask changes.
    const ::EditMask& parsedMask() const;

    int size_;
    mutable ::EditMask parsed_;
};
