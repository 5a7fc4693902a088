#pragma once
#include "TDataLink.h"

#include <functional>

// The navigator's link: it only needs to hear of activity, of the
// dataset's position and of editing.
class TNavDataLink : public TDataLink {
public:
    bool IsVisual() const override { return true; }

    std::function<void()> OnChange;

protected:
    void ActiveChanged() override { notify(); }
    void EditingChanged() override { notify(); }
    void DataSetChanged() override { notify(); }
    void DataSetScrolled(int) override { notify(); }

private:
    void notify()
    {
        if (OnChange)
            OnChange();
    }
};
