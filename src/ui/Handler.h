#pragma once

#include <QObject>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace vosmira {

// Shows the default error box for an error that ended a handler: the error's
// text, in the application's caption.
void reportException(const std::exception_ptr &error) noexcept;

// Runs the body of an event handler. An error escaping the body ends it there
// and shows the default error box; the program goes on. Qt's event and signal
// code is not exception-safe, so nothing may leave a handler by throwing.
template <typename Body>
void runHandler(Body &&body) noexcept
{
    try {
        std::forward<Body>(body)();
    } catch (...) {
        reportException(std::current_exception());
    }
}

// The same for a handler whose result Qt needs (an event filter's "handled"):
// when the body fails, the result is `failed`.
template <typename Result, typename Body>
Result runHandlerOr(Result failed, Body &&body) noexcept
{
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        reportException(std::current_exception());
    }
    return failed;
}

namespace detail {

template <typename Receiver, typename Handler, typename... Args>
void invokeHandler(Receiver *receiver, Handler &handler, Args &&...args)
{
    if constexpr (std::is_member_function_pointer_v<Handler>) {
        if constexpr (std::is_invocable_v<Handler, Receiver *, Args...>)
            std::invoke(handler, receiver, std::forward<Args>(args)...);
        else
            std::invoke(handler, receiver);
    } else if constexpr (std::is_invocable_v<Handler &, Args...>) {
        std::invoke(handler, std::forward<Args>(args)...);
    } else {
        std::invoke(handler);
    }
}

} // namespace detail

// connect() for an event handler: a member function of the receiver, or a
// function run in the receiver's context. The handler runs through runHandler
// and takes the signal's arguments when it accepts them, else none.
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection connectHandler(Sender *sender, Signal signal, Receiver *receiver, Handler handler,
                                       Qt::ConnectionType type = Qt::AutoConnection)
{
    return QObject::connect(
        sender, signal, receiver,
        [receiver, handler](auto &&...args) mutable {
            runHandler([&] { detail::invokeHandler(receiver, handler, std::forward<decltype(args)>(args)...); });
        },
        type);
}

// Runs a handler later, from the event loop, through runHandler.
template <typename Receiver, typename Handler>
void postHandler(Receiver *receiver, Handler handler)
{
    QMetaObject::invokeMethod(
        receiver, [receiver, handler]() mutable { runHandler([&] { detail::invokeHandler(receiver, handler); }); },
        Qt::QueuedConnection);
}

} // namespace vosmira
