#pragma once

// Switches of the editor and the dialogs are kept as numbers: -1 is true and
// 0 is false. A setter that compares with true accepts only -1, so a stored 1
// reads back as 1 but does not switch anything on.
constexpr int vbTrue = -1;
constexpr int vbFalse = 0;

inline int VbBool(bool value) { return value ? vbTrue : vbFalse; }
