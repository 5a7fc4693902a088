#pragma once
#include "TDataLink.h"

#include <vector>

class TDBGrid;
class TField;

// The record grid's link: as many rows of the record window as the grid
// shows, the fields of the grid's columns, and a modified mark that is set
// while the in-place editor holds text not yet written to its field.
class TGridDataLink : public TDataLink {
public:
    explicit TGridDataLink(TDBGrid& grid) : grid_(grid) {}

    bool IsVisual() const override { return true; }

    bool Modified() const { return modified_; }
    void SetModified() { modified_ = true; }
    void ClearModified() { modified_ = false; }

    // Column index -> field (nullptr for a column without one).
    const std::vector<TField*>& FieldMap() const { return fieldMap_; }
    void SetFieldMap(std::vector<TField*> map) { fieldMap_ = std::move(map); }

    // Escape: unwritten editor text is dropped (the field shows again);
    // without any, the dataset's edit or insert is cancelled.
    void Reset();

protected:
    void ActiveChanged() override;
    void EditingChanged() override;
    void RecordChanged(TField* field) override;
    void DataSetChanged() override;
    void DataSetScrolled(int rows) override;
    void LayoutChanged() override;
    void UpdateData() override;
    bool FocusControl(TField* field) override;

private:
    TDBGrid& grid_;
    std::vector<TField*> fieldMap_;
    bool modified_ = false;
};
