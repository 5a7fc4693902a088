#include "TDataLink.h"

#include "TDataSet.h"
#include "TDataSource.h"

#include <algorithm>

TDataLink::~TDataLink()
{
    if (dataSource_)
        dataSource_->RemoveLink(this);
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (dataSource_ == source)
        return;
    if (dataSource_)
        dataSource_->RemoveLink(this);
    dataSource_ = source;
    if (dataSource_)
        dataSource_->AddLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const
{
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

void TDataLink::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    UpdateState();
}

bool TDataLink::Edit()
{
    if (!readOnly_ && dataSource_)
        dataSource_->Edit();
    return editing_;
}

void TDataLink::UpdateRecord()
{
    updating_ = true;
    try {
        UpdateData();
    } catch (...) {
        updating_ = false;
        throw;
    }
    updating_ = false;
}

void TDataLink::SetBufferCount(int count)
{
    count = std::max(1, count);
    if (count == bufferCount_)
        return;
    bufferCount_ = count;
    if (TDataSet* dataSet = DataSet())
        dataSet->UpdateBufferCount();
    UpdateRange();
}

void TDataLink::UpdateRange()
{
    TDataSet* dataSet = DataSet();
    if (!dataSet) {
        firstRecord_ = 0;
        return;
    }
    int active = dataSet->ActiveRecord();
    int low = std::max(0, active - bufferCount_ + 1);
    int high = std::min(active, std::max(0, dataSet->BufferCount() - bufferCount_));
    firstRecord_ = std::clamp(firstRecord_, low, std::max(low, high));
}

int TDataLink::ActiveRecord() const
{
    TDataSet* dataSet = DataSet();
    return dataSet ? dataSet->ActiveRecord() - firstRecord_ : 0;
}

void TDataLink::SetActiveRecord(int row)
{
    TDataSet* dataSet = DataSet();
    if (!dataSet)
        return;
    int windowRow = firstRecord_ + row;
    dataSet->SelectRow(windowRow == dataSet->ActiveRecord() ? -1 : windowRow);
}

int TDataLink::RecordCount() const
{
    TDataSet* dataSet = DataSet();
    if (!dataSet || !active_)
        return 0;
    return std::clamp(dataSet->WindowRecordCount() - firstRecord_, 0, bufferCount_);
}

void TDataLink::SetActive(bool active)
{
    if (active_ == active)
        return;
    active_ = active;
    if (active)
        UpdateRange();
    else
        firstRecord_ = 0;
    ActiveChanged();
}

void TDataLink::SetEditing(bool editing)
{
    if (editing_ == editing)
        return;
    editing_ = editing;
    EditingChanged();
}

void TDataLink::UpdateState()
{
    TDataSetState state = dataSource_ ? dataSource_->State() : TDataSetState::dsInactive;
    SetActive(state != TDataSetState::dsInactive);
    bool editing = !readOnly_ && (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert ||
                                  state == TDataSetState::dsSetKey);
    SetEditing(editing);
}

void TDataLink::DataEvent(TDataEvent event, std::intptr_t info)
{
    switch (event) {
    case TDataEvent::deUpdateState:
        UpdateState();
        break;
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
        if (!updating_)
            RecordChanged(reinterpret_cast<TField*>(info));
        break;
    case TDataEvent::deDataSetChange:
        UpdateRange();
        DataSetChanged();
        break;
    case TDataEvent::deDataSetScroll:
        firstRecord_ -= static_cast<int>(info);
        UpdateRange();
        DataSetScrolled(static_cast<int>(info));
        break;
    case TDataEvent::deLayoutChange:
        LayoutChanged();
        break;
    case TDataEvent::deUpdateRecord:
        UpdateRecord();
        break;
    case TDataEvent::deCheckBrowseMode:
        CheckBrowseMode();
        break;
    case TDataEvent::deFocusControl: {
        // The first control that takes the focus ends the request.
        auto** field = reinterpret_cast<TField**>(info);
        if (*field && FocusControl(*field))
            *field = nullptr;
        break;
    }
    }
}
