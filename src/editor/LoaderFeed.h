#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

class ILoader;
class QsciScintillaBase;

// Hands the text a load has read to the component's loader document on a
// thread of its own. The component indexes the lines of what it is given, the
// bulk of a load's time; the reader meanwhile reads, checks and counts the
// next chunk on the other core. At most a few chunks wait between them.
class LoaderFeed
{
public:
    // Without a thread of its own (a small file), each step is done at once.
    LoaderFeed(QsciScintillaBase &component, bool threaded);
    ~LoaderFeed();
    LoaderFeed(const LoaderFeed &) = delete;
    LoaderFeed &operator=(const LoaderFeed &) = delete;

    // A fresh document with room for this many bytes (what it held before
    // is dropped).
    void Reserve(qint64 bytes);
    void Append(const char *data, qsizetype length);
    void Drop();
    // True once the component could not take more (out of memory).
    bool Failed() const { return m_failed.load(); }
    // Waits for what is queued; the filled document (one reference, the
    // caller's), or nullptr when there is none or it failed.
    void *Finish();

    // A document holding this text, made at once on the calling thread (one
    // reference, the caller's); nullptr when memory ran out.
    static void *DocumentHolding(QsciScintillaBase &component, QByteArrayView text);

private:
    struct Step
    {
        enum Kind { Reserve, Append, Drop } kind = Drop;
        qint64 bytes = 0;
        std::vector<char> text;
    };

    void Push(Step step);
    void Run();
    void Do(Step &step);
    void Give(const char *data, qsizetype length);
    std::vector<char> SpareBuffer(qsizetype length);

    QsciScintillaBase &m_component;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Step> m_queue;
    std::vector<std::vector<char>> m_spare; // buffers back from the feeder, reused
    const bool m_threaded;
    bool m_busy = false;
    bool m_ending = false;
    std::atomic<bool> m_failed{false};
    std::thread m_thread;
    // Feeder side.
    ILoader *m_loader = nullptr;
};
