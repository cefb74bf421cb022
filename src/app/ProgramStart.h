#pragma once

class SingleInstance;
class frmMain;

// The program from its command line to its end: --help and --version, a
// hand-over to the program already running, or the main window with the
// files asked for.
namespace ProgramStart {

// The desktop's name for the program: its .desktop file, icon and AppStream
// entry are named so.
inline constexpr const char *DesktopId = "example.ferrolan.Ferrolan";

int Run(int argc, char *argv[]);

// What a later start hands over reaches the main window: its files open
// there (relative names taken from the sender's working directory), and the
// window comes to the front.
void ReceiveLaterStarts(SingleInstance &instance, frmMain &window);

} // namespace ProgramStart
