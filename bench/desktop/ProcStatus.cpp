#include "ProcStatus.h"

#include <charconv>
#include <fstream>
#include <sstream>

namespace deskbench {

std::optional<long long> StatusBytes(const std::string &statusText, const std::string &name)
{
    std::istringstream lines(statusText);
    std::string line;
    const std::string prefix = name + ":";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::istringstream fields(line.substr(prefix.size()));
        long long value = -1;
        std::string unit;
        if (!(fields >> value >> unit) || value < 0 || unit != "kB")
            return std::nullopt;
        return value * 1024;
    }
    return std::nullopt;
}

namespace {

std::string ReadAll(const std::string &path)
{
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

std::string ReadStatus(int pid)
{
    return ReadAll("/proc/" + std::to_string(pid) + "/status");
}

std::string ReadStat(int pid)
{
    return ReadAll("/proc/" + std::to_string(pid) + "/stat");
}

std::optional<long long> CpuTicks(const std::string &statText)
{
    // The command name in parentheses may itself hold spaces and ")";
    // the fields after the last ")" are plain numbers.
    const auto close = statText.rfind(')');
    if (close == std::string::npos)
        return std::nullopt;
    std::istringstream fields(statText.substr(close + 1));
    std::string field;
    long long utime = -1, stime = -1;
    // After ")": state is field 3; utime and stime are fields 14 and 15.
    for (int index = 3; index <= 15 && (fields >> field); ++index) {
        long long value = -1;
        if (index >= 14 && std::from_chars(field.data(), field.data() + field.size(), value).ec != std::errc())
            return std::nullopt;
        if (index == 14)
            utime = value;
        else if (index == 15)
            stime = value;
    }
    if (utime < 0 || stime < 0)
        return std::nullopt;
    return utime + stime;
}

} // namespace deskbench
