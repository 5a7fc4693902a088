#pragma once
#include "FieldValue.h"
#include "LookupSearch.h"
#include "TAlignment.h"
#include "TDataSource.h"
#include "TDataSourceLink.h"
#include "TListSourceLink.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class TField;

// What every lookup control shares: a data side (the record whose code it
// shows and writes) and a list side (the code table that gives each code
// its text), the key value following the record, choosing a code, and the
// incremental search.
//
// List mode (a plain code field, the program's case): the data field
// receives the chosen code and ListSource/KeyField name the code table.
// Lookup mode (DataField is a lookup field): the lookup field's own key and
// code table are used, and ListSource/KeyField cannot be set.
//
// A code is written when it is chosen, through auto-edit; nothing is
// pending. Binding errors and a dataset that refuses to edit propagate;
// search and locate errors are swallowed (empty text, no match).
class TDBLookupControl : public QWidget {
    Q_OBJECT

public:
    explicit TDBLookupControl(QWidget* parent = nullptr);
    ~TDBLookupControl() override;

    TDataSource* DataSource() const { return dataLink_.DataSource(); }
    void SetDataSource(TDataSource* source);  // does not take ownership
    const std::string& DataField() const { return dataFieldName_; }
    void SetDataField(const std::string& name);
    // Empty in lookup mode.
    TDataSource* ListSource() const;
    void SetListSource(TDataSource* source);  // does not take ownership
    std::string KeyField() const;
    void SetKeyField(const std::string& name);
    const std::string& ListField() const { return listFieldNames_; }
    void SetListField(const std::string& names);
    int ListFieldIndex() const { return listFieldIndex_; }
    void SetListFieldIndex(int index);
    bool ReadOnly() const { return dataLink_.ReadOnly(); }
    void SetReadOnly(bool readOnly) { dataLink_.SetReadOnly(readOnly); }

    // The current code (null when none) and the text shown for it.
    FieldValue KeyValue() const { return keyValue_; }
    void SetKeyValue(const FieldValue& value);
    const std::string& Text() const { return text_; }
    TAlignment Alignment() const { return alignment_; }
    TField* Field() const { return dataField_; }
    bool ListActive() const { return listActive_; }
    bool LookupMode() const { return lookupMode_; }
    // List active, not ReadOnly, and no data source or a modifiable master field.
    bool CanModify() const;
    const std::string& searchText() const { return search_.text(); }

    std::function<void(TDBLookupControl&)> OnClick;

protected:
    // Choosing a code: written to the master field at once (auto-edit), or
    // kept as the key value when there is no data source.
    void SelectKeyValue(const FieldValue& value);
    // Makes the list dataset stand on the key value's record; false when
    // none (errors swallowed).
    bool LocateKey();
    // Search keys of a closed box: Backspace and Escape clear, printable
    // characters search.
    void ProcessSearchKey(const QString& text, int key);
    void clearSearch() { search_.clear(); }
    // The null-value key: begin an edit and clear the code.
    void ClearMasterField();
    virtual void KeyValueChanged();
    virtual void UpdateListFields();

    TListSourceLink& listLink() { return listLink_; }
    TField* keyField() const { return keyField_; }
    TField* listField() const { return listField_; }
    const std::vector<TField*>& listFields() const { return listFields_; }
    // The text and alignment to draw.
    void setShown(const std::string& text, TAlignment alignment);

private:
    void DataLinkActiveChanged();
    void DataLinkRecordChanged(TField* field);
    void ListLinkActiveChanged();
    void SetLookupMode(bool lookup);
    void CheckNotCircular() const;
    void CheckNotLookup() const;
    TField* FieldOf(TDataSet* dataSet, const std::string& name) const;
    [[noreturn]] void Fail(const std::string& message) const;

    TDataSourceLink dataLink_;
    TListSourceLink listLink_;
    TDataSource lookupSource_;
    std::string dataFieldName_;
    std::string keyFieldName_;
    std::string listFieldNames_;
    int listFieldIndex_ = 0;
    TField* dataField_ = nullptr;
    TField* masterField_ = nullptr;
    TField* keyField_ = nullptr;
    TField* listField_ = nullptr;
    std::vector<TField*> listFields_;
    bool listActive_ = false;
    bool lookupMode_ = false;
    FieldValue keyValue_;
    std::string text_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    LookupSearch search_;
};
