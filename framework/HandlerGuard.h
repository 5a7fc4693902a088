#pragma once
#include "TApplication.h"

#include <QEvent>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// The boundary where Qt calls one of our handlers (a connection or an event
// override). Qt's frames are not built for errors passing through them: one
// that does skips their cleanup and leaks, and Qt calls it undefined. So
// every handler that can raise runs inside guarded(): an error ends the
// handler at the step that raised it and is shown there in the default
// error box (an abort shows nothing). Returns false when the handler failed.
//
// Guard only where Qt calls in: a guarded override that our own code calls
// and then goes on after would swallow the error, so such overrides keep
// their body in a plain member that both call.
template <class Handler>
bool guarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (...) {
        TApplication::HandleCurrentException();
        return false;
    }
}

// An event override's body, guarded. A failed handler has used its event
// up: Qt does not pass it on to the parent (Enter on a box whose check
// failed must not reach the window's default button).
template <class Handler>
void guardedEvent(QEvent* event, Handler&& handler) noexcept
{
    if (!guarded(std::forward<Handler>(handler)))
        event->accept();
}

// A connection's handler, guarded: connect(button, &QPushButton::clicked,
// this, guard([this] { Button1Click(); })). The signal's arguments are
// passed when the handler takes them.
template <class Handler>
auto guard(Handler handler)
{
    return [handler = std::move(handler)](auto&&... args) mutable noexcept {
        guarded([&] {
            if constexpr (std::is_invocable_v<Handler&, decltype(args)...>)
                std::invoke(handler, std::forward<decltype(args)>(args)...);
            else
                std::invoke(handler);
        });
    };
}

// A member handler of receiver, guarded, for a connection.
template <class Receiver, class Owner, class... Args>
auto guard(Receiver* receiver, void (Owner::*handler)(Args...))
{
    return [receiver, handler](Args... args) noexcept {
        guarded([&] { (receiver->*handler)(std::forward<Args>(args)...); });
    };
}
