#pragma once

#include "DocumentLoader.h"
#include "FileIoResult.h"
#include "LineEnds.h"
#include "TextEncoding.h"

#include <QtGlobal>
#include <atomic>
#include <chrono>
#include <future>
#include <optional>

class LoaderFeed;
class QFile;
class QsciScintillaBase;

// Reads a file into a fresh document of the component on a worker thread,
// so the interface thread only waits in short turns and keeps drawing. The
// editor's own document is not touched: the caller swaps the new one in
// once all of the file was read, and a failed or stopped read leaves the
// editor as it was.
class BackgroundLoad
{
public:
    struct Outcome
    {
        FileIoResult result;
        TextEncoding decided{TextEncoding::Raw};
        LineEnds::Counts lineEnds;
        qint64 longestLine = 0;
        // The filled document (one reference, the caller's) when the read
        // succeeded; nullptr otherwise.
        void *document = nullptr;
    };

    BackgroundLoad(QsciScintillaBase &component, QFile &file, qint64 size, std::optional<TextEncoding> encoding,
                   DocumentLoader::Sizes sizes);
    ~BackgroundLoad();
    BackgroundLoad(const BackgroundLoad &) = delete;
    BackgroundLoad &operator=(const BackgroundLoad &) = delete;

    void Start();
    // True once the read has ended (within the wait).
    bool WaitFor(std::chrono::milliseconds wait);
    qint64 BytesRead() const { return m_bytesRead.load(); }
    // Asks the read to end at the next chunk.
    void Stop() { m_stop = true; }
    // After the read has ended.
    Outcome Take();

    // Files smaller than this are read at once on the calling thread: a
    // thread would cost more than the reading.
    static constexpr qint64 InlineBelow = 1000 * 1000;

    // Tests hold the reader back after each chunk, to see a read part way.
    static std::chrono::milliseconds &PauseAfterChunk();

    // Room the document gets beyond the text, so the first keystrokes do not
    // make the component grow (and copy) a huge buffer. Capped: the
    // component keeps as much again for the styles.
    static qint64 Slack(qint64 bytes);

private:
    Outcome Run();
    void Reserve(qint64 bytes);
    void Append(const char *data, qsizetype length);
    void Drop();

    QsciScintillaBase &m_component;
    QFile &m_file;
    qint64 m_size;
    std::optional<TextEncoding> m_encoding;
    DocumentLoader::Sizes m_sizes;
    std::atomic<qint64> m_bytesRead{0};
    std::atomic<bool> m_stop{false};
    std::future<Outcome> m_done;
    std::optional<Outcome> m_inline; // a small file's, read at once
    // Reading side.
    LoaderFeed *m_feed = nullptr;
    qint64 m_reserved = 0;
    LineEnds::Tally m_tally;
};
