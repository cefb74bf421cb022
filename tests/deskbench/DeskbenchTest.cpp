// The X-free parts of the desktop benchmark's probe.
#include "Pixels.h"
#include "ProcStatus.h"
#include "ResultTable.h"

#include <gtest/gtest.h>

using namespace deskbench;

TEST(DeskbenchTest, Placeholder)
{
    EXPECT_TRUE(IsSaturated({0, 0, 128}));
}
