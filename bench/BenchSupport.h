#pragma once

#include "editor/clsScintilla.h"

#include <QByteArray>
#include <QTemporaryDir>
#include <QWidget>
#include <QString>
#include <chrono>
#include <functional>

// Small helpers shared by the benchmark programs.
namespace bench {

constexpr qint64 MB = 1000 * 1000;

// A real editor in a window of its own, not shown unless asked.
struct EditorHost
{
    EditorHost()
    {
        window.resize(800, 600);
        sci.CreateScintilla(&window, vbFalse, nullptr);
        sci.SizeScintilla(0, 0, 800, 600);
    }
    QWidget window;
    clsScintilla sci;
};

// What the main window keeps (placement, backups, session) goes to folders
// of the benchmark's own, not the user's; Qt's offscreen platform unless
// another is asked for. Made before the application, kept while it runs.
class PrivateDesktop
{
public:
    PrivateDesktop();

private:
    QTemporaryDir m_config;
    QTemporaryDir m_state;
};

// Generated C++-like text of about the given size (deterministic).
QByteArray CppLikeText(qint64 bytes);

// Writes the text to a file and answers its path.
QString WriteFile(const QString &path, const QByteArray &bytes);

// Seconds taken by one run of the action.
double Seconds(const std::function<void()> &action);

// The best of a few runs: less noise from whatever else the machine does.
double BestOf(int runs, const std::function<void()> &action);

// Resident memory now and the peak so far, in bytes (from /proc).
qint64 ResidentBytes();
qint64 PeakResidentBytes();

// A figure of a failed load or save would mean nothing: the program stops
// with the reason.
void Require(const FileIoResult &result);

// Prints one result line: a name, a figure, and the goal it is held against.
void Report(const QString &name, const QString &figure, const QString &goal = QString());

} // namespace bench
