#include "ProgressIndicator.h"

namespace {
ProgressIndicator *g_current = nullptr;
} // namespace

ProgressIndicator *ProgressIndicator::Current()
{
    return g_current;
}

void ProgressIndicator::Install(ProgressIndicator *indicator)
{
    g_current = indicator;
}
