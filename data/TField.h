#pragma once
#include "FieldValue.h"
#include "TAlignment.h"
#include "TFieldKind.h"

#include <functional>
#include <string>

class TDataSet;

// One field of a dataset. A field holds no value of its own: it reads and
// writes the dataset's active record (or the key buffer in key state).
// Data fields map to a column of the table file (FieldNo); lookup fields
// are computed from a key field through a code table.
class TField {
public:
    TField(std::string fieldName, std::string typeName);
    virtual ~TField() = default;
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // Object name, as "TdatapegNIP"; empty for fields built from columns.
    std::string Name;
    std::string DisplayLabel;
    TFieldKind FieldKind = TFieldKind::fkData;
    bool ReadOnly = false;
    bool Required = false;
    bool Visible = true;
    std::string EditMask;
    TAlignment Alignment = TAlignment::taLeftJustify;
    // Lookup properties (lookup fields only).
    std::string KeyFields;
    TDataSet* LookupDataSet = nullptr;  // does not take ownership
    std::string LookupKeyFields;
    std::string LookupResultField;
    bool LookupCache = false;
    // Runs after the field's value was set.
    std::function<void(TField&)> OnChange;

    const std::string& FieldName() const { return fieldName_; }
    // "String", "Date": the class's type name used in messages.
    const std::string& TypeName() const { return typeName_; }
    // Label shown for the field: DisplayLabel, or the name when it is empty.
    const std::string& Label() const { return DisplayLabel.empty() ? fieldName_ : DisplayLabel; }
    virtual int Size() const { return 0; }
    virtual int DisplayWidth() const = 0;

    TDataSet* DataSet() const { return dataSet_; }
    int FieldNo() const { return fieldNo_; }  // column number, -1 for lookups and unbound
    bool IsLookup() const { return FieldKind == TFieldKind::fkLookup; }

    // Value of the active record (or key buffer).
    FieldValue Value() const;
    bool IsNull() const { return !Value().has_value(); }
    // No value to speak of: null here; a text field adds the empty text and
    // a masked text holding only its literals and spaces (what a blank
    // masked entry writes). The required-field check of post uses this.
    virtual bool IsBlank() const { return IsNull(); }
    std::string AsString() const;
    // The value as users see it in grids and reports.
    virtual std::string DisplayText() const = 0;
    // The value as a bound edit starts editing it.
    virtual std::string EditText() const { return AsString(); }

    // Convert a text and store it. Throws EConvertError for a bad text and
    // EDatabaseError when the dataset or the field refuses the change.
    void SetText(const std::string& text) { SetValue(ConvertText(text)); }
    void SetAsString(const std::string& text) { SetText(text); }
    void SetEditText(const std::string& text) { SetText(text); }
    void Clear() { SetValue(std::nullopt); }
    // The stored form of a text, without storing it (key searches use it).
    virtual FieldValue ConvertText(const std::string& text) const = 0;

    // A data field of a changeable dataset that is not ReadOnly; in key
    // state only fields of the current index.
    bool CanModify() const;
    // Ask the controls showing this field to take the focus.
    void FocusControl();

    // Binding, done by the dataset.
    void Bind(TDataSet* dataSet, int fieldNo);
    void SetLookupValue(const FieldValue& value);

protected:
    void SetValue(const FieldValue& value);

private:
    std::string fieldName_;
    std::string typeName_;
    TDataSet* dataSet_ = nullptr;
    int fieldNo_ = -1;
};
