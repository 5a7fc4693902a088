#pragma once
#include "TDataLink.h"

#include <functional>

// The list side of a lookup control: the code table it shows and searches.
// The owner hears of its changes through the three callbacks.
class TListSourceLink : public TDataLink {
public:
    bool IsVisual() const override { return true; }

    std::function<void()> OnActiveChange;
    std::function<void()> OnLayoutChange;
    std::function<void()> OnDataChange;

protected:
    void ActiveChanged() override { call(OnActiveChange); }
    void LayoutChanged() override { call(OnLayoutChange); }
    void DataSetChanged() override { call(OnDataChange); }
    void DataSetScrolled(int) override { call(OnDataChange); }
    void RecordChanged(TField*) override { call(OnDataChange); }

private:
    static void call(const std::function<void()>& callback)
    {
        if (callback)
            callback();
    }
};
