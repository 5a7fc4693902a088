#include "TFieldDataLink.h"

#include "EDatabaseError.h"
#include "TDataSet.h"
#include "TField.h"

void TFieldDataLink::SetFieldName(const std::string& name)
{
    if (fieldName_ == name)
        return;
    fieldName_ = name;
    UpdateField();
}

bool TFieldDataLink::CanModify() const
{
    return !ReadOnly() && field_ && field_->CanModify();
}

bool TFieldDataLink::Edit()
{
    if (CanModify())
        TDataLink::Edit();
    return editing_;
}

void TFieldDataLink::UpdateField()
{
    TField* field = nullptr;
    if (Active() && !fieldName_.empty()) {
        field = DataSet()->FindField(fieldName_);
        if (!field) {
            const std::string message = "Field '" + fieldName_ + "' not found";
            throw EDatabaseError(ControlName.empty() ? message : ControlName + ": " + message);
        }
    }
    SetField(field);
}

void TFieldDataLink::SetField(TField* field)
{
    if (field_ == field)
        return;
    field_ = field;
    EditingChanged();
    RecordChanged(nullptr);
}

void TFieldDataLink::SetEditing(bool editing)
{
    if (editing_ == editing)
        return;
    editing_ = editing;
    modified_ = false;
    if (OnEditingChange)
        OnEditingChange();
}

void TFieldDataLink::ActiveChanged()
{
    UpdateField();
    if (OnActiveChange)
        OnActiveChange();
}

void TFieldDataLink::EditingChanged()
{
    SetEditing(TDataLink::Editing() && CanModify());
}

void TFieldDataLink::RecordChanged(TField* field)
{
    if (field && field != field_)
        return;
    if (OnDataChange)
        OnDataChange();
    modified_ = false;
}

// While the control holds text typed into the record being edited, a change
// of the whole record window (another grid on the table showing more rows)
// leaves that text alone: the record cannot have changed, since leaving it
// ends the edit, and that clears the mark first.
void TFieldDataLink::DataSetChanged()
{
    if (modified_ && editing_)
        return;
    RecordChanged(nullptr);
}

void TFieldDataLink::UpdateData()
{
    if (!modified_)
        return;
    if (field_ && OnUpdateData)
        OnUpdateData();
    modified_ = false;
}

bool TFieldDataLink::FocusControl(TField* field)
{
    return field && field == field_ && OnFocusRequest && OnFocusRequest();
}
