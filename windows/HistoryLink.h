#pragma once
#include "TDataLink.h"

#include <functional>

// Tells the history window when the record it shows may have changed: a
// move, a store, a cancel, the table opened or closed. Field edits in
// progress are not changes of the record's history and are not passed on.
class HistoryLink : public TDataLink {
public:
    explicit HistoryLink(std::function<void()> changed) : changed_(std::move(changed)) {}

protected:
    void ActiveChanged() override { changed_(); }
    void RecordChanged(TField* field) override
    {
        if (!field)
            changed_();
    }
    void EditingChanged() override { changed_(); }

private:
    std::function<void()> changed_;
};
