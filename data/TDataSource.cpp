#include "TDataSource.h"

#include "TDataLink.h"
#include "TDataSet.h"

#include <algorithm>

TDataSource::TDataSource(std::string name) : Name(std::move(name))
{
}

TDataSource::~TDataSource()
{
    for (TDataLink* link : std::vector<TDataLink*>(links_))
        link->SetDataSource(nullptr);
    SetDataSet(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet_ == dataSet)
        return;
    if (dataSet_)
        dataSet_->DetachDataSource(this);
    dataSet_ = dataSet;
    if (dataSet_)
        dataSet_->AttachDataSource(this);
    UpdateState();
}

void TDataSource::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    UpdateState();
}

void TDataSource::Edit()
{
    if (AutoEdit && dataSet_ && state_ == TDataSetState::dsBrowse)
        dataSet_->Edit();
}

void TDataSource::AddLink(TDataLink* link)
{
    links_.push_back(link);
    if (dataSet_)
        dataSet_->UpdateBufferCount();
}

void TDataSource::RemoveLink(TDataLink* link)
{
    links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
    if (dataSet_)
        dataSet_->UpdateBufferCount();
}

int TDataSource::LinkBufferDemand() const
{
    int demand = 1;
    for (const TDataLink* link : links_)
        demand = std::max(demand, link->BufferCount());
    return demand;
}

void TDataSource::UpdateState()
{
    TDataSetState state = enabled_ && dataSet_ ? dataSet_->State() : TDataSetState::dsInactive;
    if (state == state_)
        return;
    state_ = state;
    NotifyLinks(TDataEvent::deUpdateState, 0);
    if (OnStateChange)
        OnStateChange(*this);
}

// Non-visual links first, then visual ones; each group from the most
// recently attached to the first.
void TDataSource::NotifyLinks(TDataEvent event, std::intptr_t info)
{
    std::vector<TDataLink*> links(links_);
    for (int pass = 0; pass < 2; ++pass) {
        bool visual = pass == 1;
        for (auto it = links.rbegin(); it != links.rend(); ++it) {
            if ((*it)->IsVisual() != visual)
                continue;
            if (std::find(links_.begin(), links_.end(), *it) == links_.end())
                continue;  // detached while notifying
            (*it)->DataEvent(event, info);
        }
    }
}

void TDataSource::DataEvent(TDataEvent event, std::intptr_t info)
{
    if (event == TDataEvent::deUpdateState) {
        UpdateState();
        return;
    }
    if (state_ == TDataSetState::dsInactive)
        return;
    NotifyLinks(event, info);
    switch (event) {
    case TDataEvent::deFieldChange:
    case TDataEvent::deRecordChange:
    case TDataEvent::deDataSetChange:
    case TDataEvent::deDataSetScroll:
    case TDataEvent::deLayoutChange:
        if (OnDataChange)
            OnDataChange(*this, event == TDataEvent::deFieldChange ? reinterpret_cast<TField*>(info) : nullptr);
        break;
    case TDataEvent::deUpdateRecord:
        if (OnUpdateData)
            OnUpdateData(*this);
        break;
    default:
        break;
    }
}
