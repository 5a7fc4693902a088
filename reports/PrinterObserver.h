#pragma once

// Receives a destination's notifications: the preview's page view or the
// progress window.
class PrinterObserver {
public:
    virtual ~PrinterObserver() = default;
    // `pages` pages are finished and can be shown.
    virtual void PageAvailable(int pages) = 0;
    virtual void Progress(int percent) = 0;
};
