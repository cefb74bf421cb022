#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

class clsScintilla;

// Colours a document the way a full colourise would, without holding up the
// interface: what is on screen (and a little after it) at once, the rest in
// slices of a few milliseconds between events. Text changed meanwhile only
// moves the component's styled end back; the slices go on from there.
class BackgroundColouring : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundColouring(clsScintilla &sci);

    // Colours the screen now and starts the slices for the rest.
    void Start();
    // Only the slices: the component styles what it draws itself (a new
    // document swapped in, which a language applied next recolours anyway).
    void Resume();
    // Colours everything not coloured yet, now.
    void Finish();
    // Leaves the rest as it is (a full colourise follows).
    void Stop();
    bool Pending() const { return m_timer.isActive(); }

    // What a slice should last; tests make it tiny to force many slices.
    static std::chrono::microseconds &SliceTime();
    // Documents from this many lines get their table of line states sized
    // at once; tests lower it to reach that path with small texts.
    static long &SizeTablesFromLines();

signals:
    void Finished();

private:
    void ColourScreen();
    void ColourSlice();
    bool SizeLineStates();
    long NextSliceEnd(long from) const;
    long StyledLineStart() const;

    clsScintilla &m_sci;
    QTimer m_timer;
    double m_bytesPerMicrosecond = 0; // measured on the slices so far; 0 before the first
    long m_lastSlice = 0;
    bool m_tablesSized = false;
};
