#pragma once
#include <QObject>

#include <functional>
#include <memory>

class QTimer;

// A restartable interval timer as the controls use it (the navigator's
// auto-repeat, the drop-down's scrolling). Tests put a hand-driven one in
// its place and fire it themselves.
class ControlTimer {
public:
    virtual ~ControlTimer() = default;
    // (Re)starts with an interval in milliseconds; ticks until stopped.
    virtual void start(int milliseconds) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual int interval() const = 0;

    std::function<void()> onTimeout;

    // The real one, on the window system's timers.
    static std::unique_ptr<ControlTimer> create();
};
