#pragma once

// A developer's switch for looking at the program on a dark desktop where the
// Qt here has no way to take one from the system (no platform theme plugin):
// FERROLAN_PALETTE=dark starts it with the Fusion style and a dark palette.
// Without the variable nothing changes.
namespace DeveloperPalette {

void ApplyFromEnvironment();

} // namespace DeveloperPalette
