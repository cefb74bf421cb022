#pragma once

#include <QLoggingCategory>
#include <exception>
#include <utility>

Q_DECLARE_LOGGING_CATEGORY(lcSteps)

// Writes to the log which step failed and with what error.
void LogFailedStep(const char *step, std::exception_ptr failure) noexcept;

// Runs one step of a sequence whose steps must each get their chance: a
// failure in the step is logged (category "ferrolan.steps") and the caller
// goes on with the next one.
template <typename Step>
void TryStep(const char *name, Step &&step) noexcept
{
    try {
        std::forward<Step>(step)();
    } catch (...) {
        LogFailedStep(name, std::current_exception());
    }
}
