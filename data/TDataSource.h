#pragma once
#include "TDataEvent.h"
#include "TDataSetState.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TDataLink;
class TDataSet;
class TField;

// Publishes one dataset to the controls; each control attaches a link.
// A disabled data source, or one without a dataset, reads as inactive and
// passes on nothing but state changes.
class TDataSource {
public:
    explicit TDataSource(std::string name = {});
    ~TDataSource();
    TDataSource(const TDataSource&) = delete;
    TDataSource& operator=(const TDataSource&) = delete;

    std::string Name;
    bool AutoEdit = true;

    TDataSet* DataSet() const { return dataSet_; }
    void SetDataSet(TDataSet* dataSet);  // does not take ownership
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    TDataSetState State() const { return state_; }

    // Begin editing the dataset when AutoEdit allows and it is browsing.
    void Edit();

    // Events raised after the links heard of a change.
    std::function<void(TDataSource&, TField*)> OnDataChange;
    std::function<void(TDataSource&)> OnUpdateData;
    std::function<void(TDataSource&)> OnStateChange;

    // Done by TDataLink.
    void AddLink(TDataLink* link);
    void RemoveLink(TDataLink* link);
    const std::vector<TDataLink*>& Links() const { return links_; }
    // The largest number of rows a link wants to see.
    int LinkBufferDemand() const;

    // Done by the dataset.
    void DataEvent(TDataEvent event, std::intptr_t info);

private:
    void UpdateState();
    void NotifyLinks(TDataEvent event, std::intptr_t info);

    TDataSet* dataSet_ = nullptr;
    bool enabled_ = true;
    TDataSetState state_ = TDataSetState::dsInactive;
    std::vector<TDataLink*> links_;
};
