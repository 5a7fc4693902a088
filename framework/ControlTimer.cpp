#include "ControlTimer.h"

#include "HandlerGuard.h"

#include <QTimer>

namespace {

class WindowTimer : public ControlTimer {
public:
    WindowTimer()
    {
        QObject::connect(&timer_, &QTimer::timeout, guard([this] {
            if (onTimeout)
                onTimeout();
        }));
    }
    void start(int milliseconds) override { timer_.start(milliseconds); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    int interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
};

}  // namespace

std::unique_ptr<ControlTimer> ControlTimer::create()
{
    return std::make_unique<WindowTimer>();
}
