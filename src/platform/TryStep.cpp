#include "TryStep.h"

#include "RuntimeError.h"

Q_LOGGING_CATEGORY(lcSteps, "ferrolan.steps")

void LogFailedStep(const char *step, std::exception_ptr failure) noexcept
{
    try {
        try {
            std::rethrow_exception(failure);
        } catch (const RuntimeError &error) {
            qCWarning(lcSteps).noquote() << step << "failed: error" << error.Number() << error.Source() << "-"
                                         << error.Description();
        } catch (const std::exception &error) {
            qCWarning(lcSteps).noquote() << step << "failed:" << error.what();
        } catch (...) {
            qCWarning(lcSteps).noquote() << step << "failed with an unknown error";
        }
    } catch (...) {
        // Nothing is left to report with.
    }
}
