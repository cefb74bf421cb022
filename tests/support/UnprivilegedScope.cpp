#include "UnprivilegedScope.h"

#include <grp.h>
#include <unistd.h>

namespace {
constexpr uid_t Nobody = 65534;
}

UnprivilegedScope::UnprivilegedScope()
{
    if (geteuid() != 0) {
        m_active = true;
        return;
    }
    // Real and effective ids both change (access() looks at the real one);
    // the saved id stays root, which is what lets the scope end.
    if (setresgid(Nobody, Nobody, 0) == 0 && setresuid(Nobody, Nobody, 0) == 0) {
        m_switched = true;
        m_active = true;
    } else {
        (void)setresgid(0, 0, 0);
    }
}

UnprivilegedScope::~UnprivilegedScope()
{
    if (m_switched) {
        (void)setresuid(0, 0, 0);
        (void)setresgid(0, 0, 0);
    }
}
