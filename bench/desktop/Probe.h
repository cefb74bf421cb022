// One run of an editor from outside: started with its file, watched on the
// X display until its first screen (and first coloured screen, where the
// file is expected to be coloured) and until it is idle, then typed into.
// Prints one record of "key=value" words.
#pragma once

#include "Pixels.h"
#include "PingLedger.h"
#include "X11Window.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace deskbench {

using Clock = std::chrono::steady_clock;

struct ProbeOptions
{
    std::vector<std::string> command;
    double timeoutSeconds = 120;
    double settleSeconds = 5;      // watched at least this long after the screens
    Calibration calibration;       // where and in which colour keywords appear
    bool expectColour = false;     // the file opens highlighted (short-line C++)
    bool calibrating = false;      // only save the settled screen (--shot)
    std::string typed = "a b c d "; // one keystroke per character
    std::string shotPrefix;        // PPMs of the window at the first screens
};

class Probe
{
public:
    Probe(Display *display, int damageEvent, ProbeOptions options);
    // Runs the program to the end of the measurement and kills it; the
    // record's fields. Returns false if the program could not be started.
    bool Run(std::map<std::string, std::string> &record);

private:
    bool Launch();
    void Kill();
    bool Expired() const;
    double Since(Clock::time_point start, Clock::time_point end = Clock::now()) const;

    // One turn of the loop: events, pings, memory, the screen if still grey.
    void Turn(bool watchScreen);
    void HandleEvent(const XEvent &event);
    void SendPingIfDue();
    void SampleProcess();
    void LookForWindow();
    // Whether every screen watched for has appeared, and when the last did.
    bool ScreensSeen() const;
    double ScreensSeenAt() const;
    void CheckScreen();
    void Shoot(const std::string &suffix);

    bool Idle() const;
    // Whether the program became idle within the time.
    bool WaitIdle(double atLeastSeconds, double atMostSeconds);
    void Type(std::map<std::string, std::string> &record);
    // Milliseconds from the key to the first damage wider than a caret.
    std::optional<double> TimeKey(const std::string &keysym, bool control);
    // Only the settled screen, for a calibration.
    void Settle(std::map<std::string, std::string> &record);

    Display *display_;
    int damageEvent_;
    ProbeOptions options_;
    X11Window x_;
    int pid_ = -1;
    Clock::time_point start_;
    Window window_ = 0;
    bool pingListed_ = false;
    bool exited_ = false;
    bool completed_ = false; // every step done within the time limit
    Clock::time_point lastLook_;
    std::optional<double> firstWindow_, firstScreen_, firstColoured_;

    unsigned long nextSerial_ = 1;
    Clock::time_point lastPing_;
    PingLedger pings_;
    double lastAnswerMs_ = 0;

    Clock::time_point lastSample_;
    long long rssMax_ = 0, hwm_ = 0;
    std::vector<std::pair<Clock::time_point, long long>> cpu_; // recent CPU ticks

    unsigned long damage_ = 0;
    std::optional<Clock::time_point> wideDamage_; // the last damage wider than a caret
};

} // namespace deskbench
