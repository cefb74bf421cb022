// Memory figures of /proc/<pid>/status.
#pragma once

#include <optional>
#include <string>

namespace deskbench {

// The value of a "Name:   1234 kB" line in bytes; nothing when the line is
// missing or is not in kB (the kernel writes every memory line in kB).
std::optional<long long> StatusBytes(const std::string &statusText, const std::string &name);

// The text of /proc/<pid>/status, empty once the process is gone.
std::string ReadStatus(int pid);

// User plus system CPU time of the process in clock ticks, from
// /proc/<pid>/stat; nothing once the process is gone.
std::optional<long long> CpuTicks(const std::string &statText);
std::string ReadStat(int pid);

} // namespace deskbench
