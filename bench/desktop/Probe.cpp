#include "Probe.h"

#include "ProcStatus.h"

#include <X11/extensions/Xdamage.h>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace deskbench {

namespace {

constexpr auto PingInterval = std::chrono::milliseconds(5);
constexpr auto SampleInterval = std::chrono::milliseconds(50);
constexpr double KeyWaitSeconds = 5;
constexpr int CaretWidth = 4;   // damage this narrow is the caret blinking
constexpr int ColourTolerance = 40;
constexpr double IdleCpuShare = 0.1;
constexpr double IdleAnswerMs = 50;
constexpr double LoadIdleLimit = 30; // seconds after the settling time
constexpr double KeyIdleLimit = 5;

std::string Text(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

Probe::Probe(Display *display, int damageEvent, ProbeOptions options)
    : display_(display), damageEvent_(damageEvent), options_(std::move(options)), x_(display)
{
}

double Probe::Since(Clock::time_point start, Clock::time_point end) const
{
    return std::chrono::duration<double>(end - start).count();
}

bool Probe::Expired() const
{
    return exited_ || Since(start_) >= options_.timeoutSeconds;
}

bool Probe::Launch()
{
    start_ = Clock::now();
    pid_ = fork();
    if (pid_ < 0)
        return false;
    if (pid_ == 0) {
        setpgid(0, 0);
        // Killed with the probe, even if the probe itself is killed.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        std::vector<char *> argv;
        for (std::string &word : options_.command)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    setpgid(pid_, pid_);
    return true;
}

void Probe::Kill()
{
    if (pid_ <= 0)
        return;
    kill(-pid_, SIGKILL);
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

void Probe::Turn(bool watchScreen)
{
    while (XPending(display_)) {
        XEvent event;
        XNextEvent(display_, &event);
        HandleEvent(event);
    }
    const bool looking = !window_ || (!ScreensSeen() && Clock::now() - lastLook_ >= std::chrono::milliseconds(100));
    if (looking)
        LookForWindow();
    SendPingIfDue();
    SampleProcess();
    if (watchScreen && window_ && !ScreensSeen()) {
        CheckScreen();
        return;
    }
    pollfd connection = {ConnectionNumber(display_), POLLIN, 0};
    poll(&connection, 1, 1);
}

void Probe::HandleEvent(const XEvent &event)
{
    const auto now = Clock::now();
    if (const unsigned long serial = x_.PingAnswer(event)) {
        if (const auto ms = pings_.Answered(serial, Since(start_, now)))
            lastAnswerMs_ = *ms;
        return;
    }
    if (event.type == damageEvent_ + XDamageNotify) {
        const auto &damage = reinterpret_cast<const XDamageNotifyEvent &>(event);
        if (damage.area.width > CaretWidth && damage.area.height > CaretWidth)
            wideDamage_ = now;
    }
}

void Probe::SendPingIfDue()
{
    const auto now = Clock::now();
    if (!window_ || !pingListed_ || now - lastPing_ < PingInterval)
        return;
    lastPing_ = now;
    const unsigned long serial = nextSerial_++;
    pings_.Sent(serial, Since(start_, now));
    x_.Ping(window_, serial);
    XFlush(display_);
}

void Probe::SampleProcess()
{
    const auto now = Clock::now();
    if (pid_ <= 0 || now - lastSample_ < SampleInterval)
        return;
    lastSample_ = now;
    if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        exited_ = true;
        pid_ = -1;
        return;
    }
    const std::string status = ReadStatus(pid_);
    rssMax_ = std::max(rssMax_, StatusBytes(status, "VmRSS").value_or(0));
    hwm_ = std::max(hwm_, StatusBytes(status, "VmHWM").value_or(0));
    if (const auto ticks = CpuTicks(ReadStat(pid_)))
        cpu_.emplace_back(now, *ticks);
    while (!cpu_.empty() && now - cpu_.front().first > std::chrono::seconds(2))
        cpu_.erase(cpu_.begin());
}

void Probe::LookForWindow()
{
    lastLook_ = Clock::now();
    const Window found = x_.FindTopLevel(pid_);
    if (!found || found == window_)
        return;
    window_ = found;
    pingListed_ = x_.ListsPing(found);
    if (!firstWindow_)
        firstWindow_ = Since(start_);
}

bool Probe::ScreensSeen() const
{
    return firstScreen_ && (!options_.expectColour || firstColoured_);
}

double Probe::ScreensSeenAt() const
{
    return std::max(firstScreen_.value_or(0), firstColoured_.value_or(0));
}

void Probe::Shoot(const std::string &suffix)
{
    if (!options_.shotPrefix.empty())
        SavePpm(x_.Grab(window_, x_.Bounds(window_)), options_.shotPrefix + suffix + ".ppm");
}

void Probe::CheckScreen()
{
    const auto grabbed = Clock::now();
    const Image band = x_.Grab(window_, TextBand(options_.calibration.area));
    const Box all = {0, 0, band.width, band.height};
    const int needed = std::max(20, options_.calibration.count / 4);
    // Keyword colour on the text is text drawn, even where little plain
    // ink is left between the coloured words.
    const bool coloured = options_.expectColour && !firstColoured_ &&
                          CountNear(band, all, options_.calibration.colour, ColourTolerance) >= needed;
    if (!firstScreen_ && (coloured || ShowsText(band, options_.calibration.ink, options_.calibration.light))) {
        firstScreen_ = Since(start_, grabbed);
        pings_.FirstScreen(*firstScreen_);
        Shoot("-first");
    }
    if (coloured) {
        firstColoured_ = Since(start_, grabbed);
        Shoot("-coloured");
    }
}

bool Probe::Idle() const
{
    const auto now = Clock::now();
    if (pings_.OldestWaitingMs(Since(start_, now)) > IdleAnswerMs)
        return false;
    if (lastAnswerMs_ > IdleAnswerMs || cpu_.size() < 2)
        return false;
    const auto &[oldest, oldTicks] = cpu_.front();
    const double seconds = Since(oldest, cpu_.back().first);
    if (seconds < 1)
        return false;
    const double busy = double(cpu_.back().second - oldTicks) / double(sysconf(_SC_CLK_TCK));
    return busy / seconds <= IdleCpuShare;
}

bool Probe::WaitIdle(double atLeastSeconds, double atMostSeconds)
{
    const auto from = Clock::now();
    while (!Expired() && Since(from) < atMostSeconds)
        if (Since(from) >= atLeastSeconds && Idle())
            return true;
        else
            Turn(false);
    return false;
}

std::optional<double> Probe::TimeKey(const std::string &keysym, bool control)
{
    XSync(display_, False);
    Turn(false);
    wideDamage_.reset();
    const auto pressed = Clock::now();
    if (!x_.Tap(keysym, control))
        return std::nullopt;
    while (!Expired() && !wideDamage_ && Since(pressed) < KeyWaitSeconds)
        Turn(false);
    if (!wideDamage_)
        return std::nullopt;
    return Since(pressed, *wideDamage_) * 1000;
}

void Probe::Type(std::map<std::string, std::string> &record)
{
    damage_ = XDamageCreate(display_, window_, XDamageReportRawRectangles);
    x_.Activate(window_);
    WaitIdle(0.3, KeyIdleLimit);
    if (const auto ms = TimeKey("End", true))
        record["ctrl_end_ms"] = Text(*ms);
    if (!WaitIdle(1, KeyIdleLimit))
        record["busy_at_keys"] = "1";

    std::vector<double> keys;
    int missed = 0;
    bool cut = false; // the run's time ran out before the last key
    for (size_t i = 0; i < options_.typed.size(); ++i) {
        const char c = options_.typed[i];
        const auto ms = TimeKey(c == ' ' ? "space" : std::string(1, c), false);
        if (!ms && Expired()) {
            cut = true;
            break;
        }
        if (ms)
            keys.push_back(*ms);
        else
            ++missed;
        // A missed first key must not make the second one the "first".
        if (!ms && keys.empty())
            break;
        if (i + 1 < options_.typed.size())
            WaitIdle(0.15, KeyIdleLimit);
    }
    XDamageDestroy(display_, damage_);
    completed_ = !cut;
    Shoot("-typed");
    record["keys_missed"] = std::to_string(missed);
    if (keys.empty())
        return;
    record["key_first_ms"] = Text(keys.front());
    if (keys.size() > 1) {
        record["key_steady_ms"] = Text(Median({keys.begin() + 1, keys.end()}));
        record["key_steady_n"] = std::to_string(keys.size() - 1);
    }
}

void Probe::Settle(std::map<std::string, std::string> &record)
{
    while (!Expired() && !window_)
        Turn(false);
    const auto found = Clock::now();
    while (!Expired() && Since(found) < options_.settleSeconds)
        Turn(false);
    if (!window_ || Expired())
        return;
    const Image image = x_.Grab(window_, x_.Bounds(window_));
    completed_ = true;
    record["settled"] = std::to_string(image.width) + "x" + std::to_string(image.height);
    if (!options_.shotPrefix.empty())
        SavePpm(image, options_.shotPrefix + "-settled.ppm");
}

bool Probe::Run(std::map<std::string, std::string> &record)
{
    // GTK answers pings to the root's substructure listeners, Qt to its
    // structure listeners: listen as both.
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask | StructureNotifyMask);
    if (!Launch())
        return false;
    if (options_.calibrating) {
        Settle(record);
    } else {
        while (!Expired()) {
            Turn(!ScreensSeen());
            if (!ScreensSeen() || Since(start_) < ScreensSeenAt() + options_.settleSeconds)
                continue;
            if (Idle())
                break;
            // A program busy for long in the background is typed into busy.
            if (Since(start_) >= ScreensSeenAt() + options_.settleSeconds + LoadIdleLimit) {
                record["busy_after_load"] = "1";
                break;
            }
        }
        // Pings still unanswered were blocked at least this long.
        pings_.Close(Since(start_));
        if (!ScreensSeen() && window_)
            Shoot("-unseen");
        if (!Expired() && ScreensSeen() && window_)
            Type(record);
    }
    SampleProcess();
    Kill();

    // Timed out: the time limit ended the run before its last step.
    record["status"] = exited_ ? "exited" : completed_ ? "ok" : "timeout";
    if (firstWindow_)
        record["first_window_s"] = Text(*firstWindow_);
    if (firstScreen_)
        record["first_screen_s"] = Text(*firstScreen_);
    record["colour_expected"] = options_.expectColour ? "1" : "0";
    if (firstColoured_)
        record["first_coloured_s"] = Text(*firstColoured_);
    if (window_)
        record["ping_listed"] = pingListed_ ? "1" : "0";
    if (pings_.Counted() > 0) {
        record["block_before_ms"] = Text(pings_.LongestBeforeMs());
        if (firstScreen_)
            record["block_after_ms"] = Text(pings_.LongestAfterMs());
        record["block_overall_ms"] = Text(std::max(pings_.LongestBeforeMs(), pings_.LongestAfterMs()));
        record["pings"] = std::to_string(pings_.Counted());
        record["pings_lost"] = std::to_string(pings_.Lost());
    }
    if (hwm_ > 0) {
        record["peak_bytes"] = std::to_string(hwm_);
        record["rss_max_bytes"] = std::to_string(rssMax_);
    }
    return true;
}

} // namespace deskbench
