#include "TDBLookupControl.h"

#include "EDatabaseError.h"
#include "FieldNames.h"
#include "TDataSet.h"
#include "TField.h"
#include "TStringField.h"

TDBLookupControl::TDBLookupControl(QWidget* parent) : QWidget(parent)
{
    dataLink_.OnActiveChange = [this] { DataLinkActiveChanged(); };
    dataLink_.OnLayoutChange = [this] { DataLinkActiveChanged(); };
    dataLink_.OnRecordChange = [this](TField* field) { DataLinkRecordChanged(field); };
    listLink_.OnActiveChange = [this] { ListLinkActiveChanged(); };
    listLink_.OnLayoutChange = [this] { ListLinkActiveChanged(); };
}

TDBLookupControl::~TDBLookupControl()
{
    // The links detach before the internal data source goes.
    dataLink_.OnActiveChange = nullptr;
    listLink_.OnActiveChange = nullptr;
    listLink_.SetDataSource(nullptr);
    dataLink_.SetDataSource(nullptr);
}

void TDBLookupControl::Fail(const std::string& message) const
{
    const std::string name = objectName().toStdString();
    throw EDatabaseError(name.empty() ? message : name + ": " + message);
}

TField* TDBLookupControl::FieldOf(TDataSet* dataSet, const std::string& name) const
{
    TField* field = dataSet->FindField(name);
    if (!field)
        Fail("Field '" + name + "' not found");
    return field;
}

void TDBLookupControl::CheckNotCircular() const
{
    if (listLink_.Active() && DataSource() && listLink_.DataSet() == DataSource()->DataSet())
        Fail("Circular datalinks are not allowed");
}

void TDBLookupControl::CheckNotLookup() const
{
    if (lookupMode_)
        throw EDatabaseError("Property already defined by lookup field");
}

// ---- properties ----

void TDBLookupControl::SetDataSource(TDataSource* source)
{
    dataLink_.SetDataSource(source);
}

void TDBLookupControl::SetDataField(const std::string& name)
{
    if (dataFieldName_ == name)
        return;
    dataFieldName_ = name;
    DataLinkActiveChanged();
}

TDataSource* TDBLookupControl::ListSource() const
{
    return lookupMode_ ? nullptr : listLink_.DataSource();
}

void TDBLookupControl::SetListSource(TDataSource* source)
{
    CheckNotLookup();
    listLink_.SetDataSource(source);
}

std::string TDBLookupControl::KeyField() const
{
    return lookupMode_ ? std::string() : keyFieldName_;
}

void TDBLookupControl::SetKeyField(const std::string& name)
{
    CheckNotLookup();
    if (keyFieldName_ == name)
        return;
    keyFieldName_ = name;
    ListLinkActiveChanged();
}

void TDBLookupControl::SetListField(const std::string& names)
{
    if (listFieldNames_ == names)
        return;
    listFieldNames_ = names;
    ListLinkActiveChanged();
}

void TDBLookupControl::SetListFieldIndex(int index)
{
    if (listFieldIndex_ == index)
        return;
    listFieldIndex_ = index;
    ListLinkActiveChanged();
}

// ---- data side ----

void TDBLookupControl::DataLinkActiveChanged()
{
    dataField_ = nullptr;
    masterField_ = nullptr;
    if (dataLink_.Active() && !dataFieldName_.empty()) {
        CheckNotCircular();
        dataField_ = FieldOf(dataLink_.DataSet(), dataFieldName_);
        masterField_ = dataField_;
    }
    SetLookupMode(dataField_ && dataField_->IsLookup());
    DataLinkRecordChanged(nullptr);
}

void TDBLookupControl::SetLookupMode(bool lookup)
{
    if (lookup) {
        // Rebound every time: the lookup field may have changed.
        masterField_ = FieldOf(dataField_->DataSet(), dataField_->KeyFields);
        lookupSource_.SetDataSet(dataField_->LookupDataSet);
        keyFieldName_ = dataField_->LookupKeyFields;
        lookupMode_ = true;
        listLink_.SetDataSource(&lookupSource_);
        ListLinkActiveChanged();
    } else if (lookupMode_) {
        listLink_.SetDataSource(nullptr);
        lookupMode_ = false;
        keyFieldName_.clear();
        lookupSource_.SetDataSet(nullptr);
        masterField_ = dataField_;
    }
}

void TDBLookupControl::DataLinkRecordChanged(TField* field)
{
    if (field && field != masterField_)
        return;
    SetKeyValue(masterField_ ? masterField_->Value() : FieldValue());
}

void TDBLookupControl::SetKeyValue(const FieldValue& value)
{
    if (keyValue_ == value)
        return;
    keyValue_ = value;
    KeyValueChanged();
}

// ---- list side ----

void TDBLookupControl::ListLinkActiveChanged()
{
    UpdateListFields();
    KeyValueChanged();
}

void TDBLookupControl::UpdateListFields()
{
    listActive_ = false;
    keyField_ = nullptr;
    listField_ = nullptr;
    listFields_.clear();
    if (!listLink_.Active() || keyFieldName_.empty())
        return;
    CheckNotCircular();
    TDataSet* dataSet = listLink_.DataSet();
    keyField_ = FieldOf(dataSet, keyFieldName_);
    for (const std::string& name : FieldNames::split(listFieldNames_)) {
        TField* field = dataSet->FindField(name);
        if (!field)
            throw EDatabaseError("Field '" + name + "' not found");
        listFields_.push_back(field);
    }
    if (lookupMode_) {
        TField* result = FieldOf(dataSet, dataField_->LookupResultField);
        if (std::find(listFields_.begin(), listFields_.end(), result) == listFields_.end())
            listFields_.insert(listFields_.begin(), result);
        listField_ = result;
    } else {
        if (listFields_.empty())
            listFields_.push_back(keyField_);
        const bool inRange = listFieldIndex_ >= 0 && listFieldIndex_ < static_cast<int>(listFields_.size());
        listField_ = listFields_[inRange ? listFieldIndex_ : 0];
    }
    listActive_ = true;
}

bool TDBLookupControl::LocateKey()
{
    try {
        return keyValue_ && listLink_.DataSet()->Locate(keyFieldName_, *keyValue_, false);
    } catch (const std::exception&) {
        return false;
    }
}

void TDBLookupControl::KeyValueChanged()
{
    if (lookupMode_ && dataField_)
        setShown(dataField_->DisplayText(), dataField_->Alignment);
    else if (listActive_ && LocateKey())
        setShown(listField_->DisplayText(), listField_->Alignment);
    else
        setShown(std::string(), TAlignment::taLeftJustify);
}

void TDBLookupControl::setShown(const std::string& text, TAlignment alignment)
{
    text_ = text;
    alignment_ = alignment;
    update();
}

// ---- choosing ----

bool TDBLookupControl::CanModify() const
{
    return listActive_ && !ReadOnly() && (!DataSource() || (masterField_ && masterField_->CanModify()));
}

void TDBLookupControl::SelectKeyValue(const FieldValue& value)
{
    if (masterField_) {
        if (dataLink_.Edit()) {
            if (value)
                masterField_->SetText(*value);
            else
                masterField_->Clear();
        }
    } else {
        SetKeyValue(value);
    }
    repaint();
    if (OnClick)
        OnClick(*this);
}

void TDBLookupControl::ProcessSearchKey(const QString& text, int key)
{
    if (!listField_ || listField_->FieldKind != TFieldKind::fkData || !dynamic_cast<TStringField*>(listField_))
        return;
    if (key == Qt::Key_Backspace || key == Qt::Key_Escape) {
        search_.clear();
        return;
    }
    if (text.isEmpty() || !text.at(0).isPrint() || !CanModify())
        return;
    TDataSet* dataSet = listLink_.DataSet();
    const std::string name = listField_->FieldName();
    const auto outcome = search_.type(
        text.toStdString(), [&](const std::string& candidate) { return dataSet->Locate(name, candidate, true); });
    if (outcome == LookupSearch::Outcome::Found)
        SelectKeyValue(keyField_->Value());
}

// The code field is cleared, also in lookup mode where the data field is
// the computed text.
void TDBLookupControl::ClearMasterField()
{
    if (dataLink_.Edit() && masterField_)
        masterField_->Clear();
}
