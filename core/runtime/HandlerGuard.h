#pragma once

#include "Platform.h"

#include <exception>
#include <new>
#include <string>
#include <utility>

namespace korval {

// Runs one event handler so that no exception reaches the system's event
// loop: a
// run-time error that the handler did not handle ends the program with the
// platform's message, as does anything else that escapes it.
template <class Handler>
void runGuarded(Platform& platform, Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (const RuntimeError& error) {
        platform.reportUnhandled(error);
    } catch (const std::bad_alloc&) {
        platform.reportUnhandled(RuntimeError::outOfMemory());
    } catch (const std::exception& error) {
        platform.reportUnhandled(RuntimeError(RuntimeError::InternalError, std::string("Internal error: ") + error.what()));
    } catch (...) {
        platform.reportUnhandled(RuntimeError(RuntimeError::InternalError, "Internal error"));
    }
}

// The handler as an event's callback that runs it under the guard.
template <class Handler>
auto guarded(Platform& platform, Handler handler)
{
    return [&platform, handler = std::move(handler)] { runGuarded(platform, handler); };
}

} // namespace korval
