// deskprobe: measures one editor opening one file, from outside, on the X
// display of $DISPLAY (run by scripts/bench-desktop; docs/benchmarks-desktop.md).
//   deskprobe --editor NAME --file-label LABEL --file PATH [--timeout S]
//             [--settle S] [--type CHARS] [--shot PREFIX]
//             (--calibrate | --colour RRGGBB --area X,Y,W,H --count N --ink N --light N
//              [--expect-colour])
//             -- COMMAND ARGS...
// Prints one line of key=value words.
#include "Probe.h"

#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

using namespace deskbench;

namespace {

int IgnoreErrors(Display *, XErrorEvent *)
{
    // Windows come and go while the probe looks at them.
    return 0;
}

bool ParseColour(const std::string &text, Rgb &colour)
{
    unsigned r = 0, g = 0, b = 0;
    if (text.size() != 6 || std::sscanf(text.c_str(), "%2x%2x%2x", &r, &g, &b) != 3)
        return false;
    colour = {uint8_t(r), uint8_t(g), uint8_t(b)};
    return true;
}

bool ParseBox(const std::string &text, Box &box)
{
    return std::sscanf(text.c_str(), "%d,%d,%d,%d", &box.x, &box.y, &box.width, &box.height) == 4 && !box.Empty();
}

int Usage(const char *why)
{
    std::fprintf(stderr, "deskprobe: %s\n", why);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    ProbeOptions options;
    std::map<std::string, std::string> record;
    std::string file;
    bool colourGiven = false, areaGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--") {
            options.command.assign(argv + i + 1, argv + argc);
            break;
        } else if (arg == "--calibrate") {
            options.calibrating = true;
        } else if (arg == "--expect-colour") {
            options.expectColour = true;
        } else if (!hasValue) {
            return Usage(("no value after " + arg).c_str());
        } else if (arg == "--editor") {
            record["editor"] = argv[++i];
        } else if (arg == "--file-label") {
            record["file"] = argv[++i];
        } else if (arg == "--file") {
            file = argv[++i];
        } else if (arg == "--timeout") {
            options.timeoutSeconds = std::atof(argv[++i]);
        } else if (arg == "--settle") {
            options.settleSeconds = std::atof(argv[++i]);
        } else if (arg == "--type") {
            options.typed = argv[++i];
        } else if (arg == "--shot") {
            options.shotPrefix = argv[++i];
        } else if (arg == "--colour") {
            colourGiven = ParseColour(argv[++i], options.calibration.colour);
        } else if (arg == "--area") {
            areaGiven = ParseBox(argv[++i], options.calibration.area);
        } else if (arg == "--count") {
            options.calibration.count = std::atoi(argv[++i]);
        } else if (arg == "--ink") {
            options.calibration.ink = std::atoi(argv[++i]);
        } else if (arg == "--light") {
            options.calibration.light = std::atoi(argv[++i]);
        } else {
            return Usage(("unknown option " + arg).c_str());
        }
    }
    if (options.command.empty())
        return Usage("no command after --");
    if (!options.calibrating && (!colourGiven || !areaGiven))
        return Usage("measuring needs --colour and --area from a --calibrate run");
    struct stat info;
    if (!file.empty() && stat(file.c_str(), &info) == 0)
        record["size"] = std::to_string(info.st_size);

    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return Usage("cannot open the X display");
    int damageEvent = 0, damageError = 0, xtestEvent = 0, xtestError = 0, major = 0, minor = 0;
    if (!XDamageQueryExtension(display, &damageEvent, &damageError) ||
        !XTestQueryExtension(display, &xtestEvent, &xtestError, &major, &minor))
        return Usage("the X server lacks DAMAGE or XTEST");
    XSetErrorHandler(IgnoreErrors);

    Probe probe(display, damageEvent, options);
    if (!probe.Run(record))
        return Usage("cannot start the program");
    std::string line;
    for (const auto &[key, value] : record)
        line += (line.empty() ? "" : " ") + key + "=" + value;
    std::printf("%s\n", line.c_str());
    XCloseDisplay(display);
    return 0;
}
