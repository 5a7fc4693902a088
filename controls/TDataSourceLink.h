#pragma once
#include "TDataLink.h"

#include <functional>

// The data side of a lookup control: the record whose code it shows and
// writes. The owner hears of its changes through the callbacks.
class TDataSourceLink : public TDataLink {
public:
    bool IsVisual() const override { return true; }

    std::function<void()> OnActiveChange;
    std::function<void()> OnLayoutChange;
    // The field that changed, or nullptr for the whole record.
    std::function<void(TField*)> OnRecordChange;
    std::function<void(TField*)> OnFocusControl;

protected:
    void ActiveChanged() override
    {
        if (OnActiveChange)
            OnActiveChange();
    }
    void LayoutChanged() override
    {
        if (OnLayoutChange)
            OnLayoutChange();
    }
    void RecordChanged(TField* field) override
    {
        if (OnRecordChange)
            OnRecordChange(field);
    }
    bool FocusControl(TField* field) override
    {
        if (OnFocusControl)
            OnFocusControl(field);
        return false;
    }
};
