#include "PingLedger.h"

#include <algorithm>
#include <iterator>

namespace deskbench {

void PingLedger::Sent(unsigned long serial, double at)
{
    waiting_[serial] = at;
}

std::optional<double> PingLedger::Answered(unsigned long serial, double at)
{
    const auto found = waiting_.find(serial);
    if (found == waiting_.end())
        return std::nullopt;
    lost_ += long(std::distance(waiting_.begin(), found));
    waiting_.erase(waiting_.begin(), found);
    const double ms = (at - found->second) * 1000;
    if (!closed_)
        Count(found->second, ms);
    waiting_.erase(found);
    return ms;
}

void PingLedger::Close(double at)
{
    if (closed_)
        return;
    for (const auto &[serial, sent] : waiting_)
        Count(sent, (at - sent) * 1000);
    closed_ = true;
}

double PingLedger::OldestWaitingMs(double now) const
{
    return waiting_.empty() ? 0 : (now - waiting_.begin()->second) * 1000;
}

void PingLedger::Count(double sent, double ms)
{
    ++counted_;
    double &longest = firstScreen_ && sent >= *firstScreen_ ? after_ : before_;
    longest = std::max(longest, ms);
}

} // namespace deskbench
