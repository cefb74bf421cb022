#pragma once

#include <utility>

// Runs one step of a sequence whose steps must each get their chance: a
// failure in the step is dropped and the caller goes on with the next one.
template <typename Step>
void TryStep(Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
    } catch (...) {
    }
}
