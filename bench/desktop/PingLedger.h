// The pings the probe sent to a program's window and their answers: how
// long the program's event loop was blocked, before and after its first
// screen (the file's text drawn). Times are seconds since the launch.
#pragma once

#include <map>
#include <optional>

namespace deskbench {

class PingLedger
{
public:
    void Sent(unsigned long serial, double at);
    // The answer's latency in ms, or nothing for a ping this ledger did not
    // send (the window manager's own). Earlier pings still waiting are
    // dropped ones: the program answers in order.
    std::optional<double> Answered(unsigned long serial, double at);

    // Pings sent from then on count as "after".
    void FirstScreen(double at) { firstScreen_ = at; }
    // Counts the pings still waiting with their age, and stops counting
    // answers towards the longest blocks from then on.
    void Close(double at);

    // How long the oldest ping still waiting has waited, in ms (0 if none).
    double OldestWaitingMs(double now) const;

    double LongestBeforeMs() const { return before_; }
    double LongestAfterMs() const { return after_; }
    long Counted() const { return counted_; }
    long Lost() const { return lost_; }

private:
    void Count(double sent, double ms);

    std::map<unsigned long, double> waiting_;
    std::optional<double> firstScreen_;
    bool closed_ = false;
    double before_ = 0, after_ = 0;
    long counted_ = 0, lost_ = 0;
};

} // namespace deskbench
