#pragma once

#include "core/runtime/RuntimeError.h"

#include <optional>

namespace korval::testing {

// The number of the run-time error that a step raises, or nothing when it
// completes.
template <class Step>
std::optional<int> errorOf(Step&& step)
{
    try {
        step();
        return std::nullopt;
    } catch (const RuntimeError& error) {
        return error.number();
    }
}

} // namespace korval::testing
