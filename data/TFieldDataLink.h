#pragma once
#include "TDataLink.h"

#include <functional>
#include <string>

// The link of a control that shows and edits one field of the current
// record. It resolves the field by name, keeps its own editing flag (the
// base link's editing and CanModify both hold) and a modified flag for the
// control's pending text, and tells its owner through four callbacks.
class TFieldDataLink : public TDataLink {
public:
    explicit TFieldDataLink(bool visual = true) : visual_(visual) {}

    bool IsVisual() const override { return visual_; }

    // The owning control's name, put in front of binding errors.
    std::string ControlName;

    const std::string& FieldName() const { return fieldName_; }
    // Rebinds; "Field '%s' not found" (prefixed by ControlName) when the
    // active dataset has no such field.
    void SetFieldName(const std::string& name);
    TField* Field() const { return field_; }

    // Not read-only, a field resolved, and the field can be modified.
    bool CanModify() const;
    // Shadows the base link's flag: its editing and CanModify.
    bool Editing() const { return editing_; }
    bool IsModified() const { return modified_; }
    // The control's text changed since the last redisplay or write.
    void Modified() { modified_ = true; }

    // Auto-edit: when the field can be modified, asks the data source to
    // begin editing (it does so only when browsing and AutoEdit is on).
    // Returns Editing(); the editing-change callback has run by then.
    bool Edit();
    // Redisplay from the field; clears the modified flag.
    void Reset() { RecordChanged(nullptr); }

    std::function<void()> OnDataChange;
    std::function<void()> OnEditingChange;
    std::function<void()> OnUpdateData;
    std::function<void()> OnActiveChange;
    // The dataset asks the control of this field to take the focus.
    std::function<bool()> OnFocusRequest;  // true when the control took the focus

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void LayoutChanged() override { UpdateField(); }
    void RecordChanged(TField* field) override;
    void DataSetChanged() override;
    void UpdateData() override;
    bool FocusControl(TField* field) override;

private:
    void UpdateField();
    void SetField(TField* field);
    void SetEditing(bool editing);

    bool visual_;
    std::string fieldName_;
    TField* field_ = nullptr;
    bool editing_ = false;
    bool modified_ = false;
};
