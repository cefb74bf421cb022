// A huge file in the whole main window, measured from inside the program:
// how long opening holds up the interface, when the colouring is complete,
// and what keystrokes cost at the end and at the start of the document.
//   bench_hugefile            a 100 MB C++ file
//   bench_hugefile --size N   N MB instead (1000 for a gigabyte)
//   bench_hugefile --line     the file as one single line
//   bench_hugefile --txt      a .txt file, which no language colours
//   bench_hugefile --trace    names every event that held the loop 40 ms or more
// Runs on any Qt platform (QT_QPA_PLATFORM=xcb under Xvfb draws as a user
// sees it). The desktop benchmark measures the same from outside.
#include "BenchSupport.h"
#include "shell/frmDoc.h"
#include "shell/frmMain.h"
#include "editor/EditorWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <Qsci/qsciscintillabase.h>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace bench;
using Sci = QsciScintillaBase;

namespace {

bool &Tracing()
{
    static bool on = false;
    return on;
}

// The longest stretch the event loop went without running a 1 ms timer.
class StallWatch
{
public:
    StallWatch()
    {
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Tick(); });
        m_clock.start();
        m_timer.start();
    }
    void Reset()
    {
        m_longest = 0;
        m_last = m_clock.nsecsElapsed();
    }
    double LongestMs() const { return std::max(m_longest, m_clock.nsecsElapsed() - m_last) / 1e6; }

private:
    void Tick()
    {
        const qint64 now = m_clock.nsecsElapsed();
        if (Tracing() && now - m_last >= 40000000)
            fprintf(stderr, "stall of %lld ms ending at %lld ms\n", (now - m_last) / 1000000, now / 1000000);
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
    }
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_last = 0;
    qint64 m_longest = 0;
};

// One key typed into the editor and the screen drawn again, in ms.
double TypeKey(EditorWindow &editor, Qt::Key key, const QString &text)
{
    QElapsedTimer clock;
    clock.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor.viewport(), &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(editor.viewport(), &release);
    QApplication::processEvents();
    editor.viewport()->repaint();
    return clock.nsecsElapsed() / 1e6;
}

void Wait(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

void Keystrokes(clsScintilla &sci, const QString &where)
{
    EditorWindow &editor = *sci.Editor();
    const double first = TypeKey(editor, Qt::Key_A, QStringLiteral("a"));
    std::vector<double> steady;
    for (int i = 0; i < 20; ++i)
        steady.push_back(TypeKey(editor, Qt::Key_B, QStringLiteral("b")));
    Wait(600); // typing pauses: whatever waits for a pause runs
    const double afterPause = TypeKey(editor, Qt::Key_C, QStringLiteral("c"));
    Report(QStringLiteral("first keystroke %1").arg(where), QStringLiteral("%1 ms").arg(first, 0, 'f', 2),
           QStringLiteral("< 16 ms"));
    Report(QStringLiteral("steady keystroke %1 (median of 20)").arg(where),
           QStringLiteral("%1 ms").arg(Median(steady), 0, 'f', 2));
    Report(QStringLiteral("keystroke after a pause %1").arg(where), QStringLiteral("%1 ms").arg(afterPause, 0, 'f', 2));
}

QByteArray OneLine(QByteArray text)
{
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

// Names the events that hold up the loop, to find what a stall was.
class TracingApplication : public QApplication
{
public:
    using QApplication::QApplication;
    bool notify(QObject *receiver, QEvent *event) override
    {
        if (!Tracing())
            return QApplication::notify(receiver, event);
        QElapsedTimer clock;
        clock.start();
        const int type = event->type();
        const QByteArray name = receiver->metaObject()->className();
        const bool done = QApplication::notify(receiver, event);
        if (const qint64 ms = clock.elapsed(); ms >= 40)
            fprintf(stderr, "  event %d to %s took %lld ms\n", type, name.constData(), ms);
        return done;
    }
};

} // namespace

int main(int argc, char *argv[])
{
    PrivateDesktop desktop;
    TracingApplication app(argc, argv);
    const QStringList args = app.arguments();
    Tracing() = args.contains(QStringLiteral("--trace"));
    qint64 megabytes = 100;
    if (const qsizetype at = args.indexOf(QStringLiteral("--size")); at >= 0 && at + 1 < args.size())
        megabytes = args[at + 1].toLongLong();
    const bool oneLine = args.contains(QStringLiteral("--line"));
    const bool plain = args.contains(QStringLiteral("--txt")); // no language colours it

    QTemporaryDir dir;
    const QString path = dir.filePath(plain ? QStringLiteral("huge.txt") : QStringLiteral("huge.cpp"));
    if (oneLine) {
        WriteFile(path, OneLine(CppLikeText(megabytes * MB)));
    } else {
        // Written in pieces: the program's peak memory is then its own.
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        for (qint64 left = megabytes * MB; left > 0; left -= 64 * MB)
            file.write(CppLikeText(std::min(left, 64 * MB)));
    }
    // A file written just now is also hashed when opened (to tell a later
    // write within the same second); files people open are older.
    {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
    }

    frmMain window;
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();
    StallWatch stalls;

    const qint64 before = PeakResidentBytes();
    frmDoc *doc = nullptr;
    const QString what = QStringLiteral("%1 MB%2").arg(megabytes).arg(oneLine ? QStringLiteral(", one line") : QString());
    stalls.Reset();
    // When the window first shows text (the file's start, while the rest is read).
    QElapsedTimer sinceOpen;
    double firstText = -1;
    QTimer textWatch;
    textWatch.setInterval(1);
    QObject::connect(&textWatch, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::allWidgets())
            if (auto *editor = dynamic_cast<EditorWindow *>(widget);
                editor && editor->isVisible() && editor->SendScintilla(Sci::SCI_GETLENGTH) > 0 && firstText < 0)
                firstText = sinceOpen.nsecsElapsed() / 1e9;
    });
    sinceOpen.start();
    textWatch.start();
    const double open = Seconds([&] { doc = window.OpenDocument(path); QApplication::processEvents(); });
    textWatch.stop();
    if (!doc || !doc->sciMain)
        qFatal("the file did not open");
    Report(QStringLiteral("open %1: first text shown (the start, read-only)").arg(what),
           firstText < 0 ? QStringLiteral("at the end") : QStringLiteral("%1 s").arg(firstText, 0, 'f', 3));
    Report(QStringLiteral("open %1: all read, editable").arg(what), QStringLiteral("%1 s").arg(open, 0, 'f', 3));
    Report(QStringLiteral("open %1: longest stall while opening").arg(what),
           QStringLiteral("%1 ms").arg(stalls.LongestMs(), 0, 'f', 1), QStringLiteral("< 100 ms"));
    clsScintilla &sci = *doc->sciMain;

    stalls.Reset();
    const double colouring = Seconds([&] {
        while (sci.ColouringPending())
            QApplication::processEvents();
    });
    Report(QStringLiteral("open %1: colouring completed after the first screen").arg(what),
           QStringLiteral("%1 s").arg(colouring, 0, 'f', 3));
    Report(QStringLiteral("open %1: longest stall while colouring").arg(what),
           QStringLiteral("%1 ms").arg(stalls.LongestMs(), 0, 'f', 1), QStringLiteral("< 100 ms"));
    Report(QStringLiteral("open %1: peak memory, whole process").arg(what),
           QStringLiteral("%1 MB (%2× the file)")
               .arg(PeakResidentBytes() / MB)
               .arg(double(PeakResidentBytes()) / double(megabytes * MB), 0, 'f', 2),
           oneLine ? QString() : QStringLiteral("≤ 2.6×"));
    Report(QStringLiteral("open %1: memory added by the document").arg(what),
           QStringLiteral("%1 MB").arg((PeakResidentBytes() - before) / MB));

    sci.SendEditor(Sci::SCI_DOCUMENTEND);
    Wait(300);
    Keystrokes(sci, QStringLiteral("at the end"));
    sci.SendEditor(Sci::SCI_DOCUMENTSTART);
    Wait(300);
    Keystrokes(sci, QStringLiteral("at the start"));
    Report(QStringLiteral("peak memory after editing"), QStringLiteral("%1 MB").arg(PeakResidentBytes() / MB));
    // Closing asks to save: the benchmark's changes are thrown away.
    sci.SetSavePoint();
    return 0;
}
