#pragma once
#include "TDataEvent.h"

#include <cstdint>

class TDataSet;
class TDataSource;
class TField;

// One control's connection to a data source. Subclasses override the
// notification hooks. A link sees BufferCount rows of the dataset's record
// window, starting at its own first row, which follows the active row.
class TDataLink {
public:
    TDataLink() = default;
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);  // does not take ownership
    TDataSet* DataSet() const;

    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Active() const { return active_; }
    bool Editing() const { return editing_; }
    bool Updating() const { return updating_; }
    // Links of visual controls hear of changes after the others.
    virtual bool IsVisual() const { return false; }

    // Ask the data source to begin editing; returns Editing().
    bool Edit();
    // Write the control's pending text: runs UpdateData with the updating
    // flag set, cleared again even when it throws.
    void UpdateRecord();

    // Rows the link wants in the record window (a grid: its visible rows).
    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);
    // The link's row of the current record, and the number of its rows.
    int ActiveRecord() const;
    // Make row of this link's view the one fields read (for drawing).
    void SetActiveRecord(int row);
    int RecordCount() const;

    // Done by the data source.
    void DataEvent(TDataEvent event, std::intptr_t info);

protected:
    virtual void ActiveChanged() {}
    virtual void EditingChanged() {}
    virtual void RecordChanged(TField*) {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int) { DataSetChanged(); }
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void UpdateData() {}
    virtual void CheckBrowseMode() {}
    // True when this link's control took the focus for the field.
    virtual bool FocusControl(TField*) { return false; }

private:
    void UpdateState();
    void UpdateRange();
    void SetActive(bool active);
    void SetEditing(bool editing);

    TDataSource* dataSource_ = nullptr;
    bool readOnly_ = false;
    bool active_ = false;
    bool editing_ = false;
    bool updating_ = false;
    int bufferCount_ = 1;
    int firstRecord_ = 0;  // dataset window row shown as this link's row 0
};
