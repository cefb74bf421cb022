#include "LogCapture.h"
#include "platform/RuntimeError.h"
#include "platform/TryStep.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

TEST(TryStepTest, AFailedStepIsLoggedWithItsErrorAndTheNextStepRuns)
{
    LogCapture log("ferrolan.steps");
    bool lastRan = false;
    TryStep("Attach", [] {
        throw RuntimeError(RuntimeError::InvalidProcedureCall, QStringLiteral("MSubclass"), QStringLiteral("Invalid window"));
    });
    TryStep("Measure", [] { throw std::length_error("too long"); });
    TryStep("Cascade", [&] { lastRan = true; });

    EXPECT_TRUE(lastRan);
    ASSERT_EQ(log.warnings.size(), 2);
    EXPECT_EQ(log.warnings[0], QStringLiteral("Attach failed: error 5 MSubclass - Invalid window"));
    EXPECT_EQ(log.warnings[1], QStringLiteral("Measure failed: too long"));
}

} // namespace
