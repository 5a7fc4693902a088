#pragma once
#include "ControlTimer.h"

// A control timer that ticks only when a test fires it.
class ManualTimer : public ControlTimer {
public:
    void start(int milliseconds) override
    {
        active_ = true;
        interval_ = milliseconds;
        ++starts;
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    int interval() const override { return interval_; }

    // One tick, as the window system would deliver it while active.
    void fire()
    {
        if (active_ && onTimeout)
            onTimeout();
    }

    int starts = 0;

private:
    bool active_ = false;
    int interval_ = 0;
};
