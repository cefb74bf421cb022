#pragma once

#include <sys/types.h>

// Runs a stretch of a test as an ordinary user, so file permissions bind
// even when the suite runs as root: the effective user and group become
// "nobody" until the scope ends. Outside root nothing changes.
class UnprivilegedScope
{
public:
    UnprivilegedScope();
    ~UnprivilegedScope();

    // True when file permissions now apply to this process.
    bool active() const { return m_active; }

private:
    bool m_switched = false;
    bool m_active = false;
};
