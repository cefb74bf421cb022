#include "BackgroundLoad.h"

#include "DocumentCapacity.h"
#include "LoaderFeed.h"
#include "TextFileReader.h"

#include <QFile>
#include <algorithm>
#include <Qsci/qsciscintillabase.h>
#include <thread>

using Sci = QsciScintillaBase;

BackgroundLoad::BackgroundLoad(QsciScintillaBase &component, QFile &file, qint64 size,
                               std::optional<TextEncoding> encoding, DocumentLoader::Sizes sizes)
    : m_component(component), m_file(file), m_size(size), m_encoding(std::move(encoding)), m_sizes(sizes)
{
}

BackgroundLoad::~BackgroundLoad()
{
    if (m_done.valid()) {
        Stop();
        m_inline = m_done.get();
    }
    if (m_inline && m_inline->document)
        m_component.SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, m_inline->document);
}

std::chrono::milliseconds &BackgroundLoad::PauseAfterChunk()
{
    static std::chrono::milliseconds pause{0};
    return pause;
}

qint64 BackgroundLoad::Slack(qint64 bytes)
{
    return std::clamp<qint64>(bytes / 16, 64 * 1024, 16 * 1024 * 1024);
}

void BackgroundLoad::Start()
{
    if (m_size < InlineBelow)
        m_inline = Run();
    else
        m_done = std::async(std::launch::async, [this] { return Run(); });
}

bool BackgroundLoad::WaitFor(std::chrono::milliseconds wait)
{
    return !m_done.valid() || m_done.wait_for(wait) == std::future_status::ready;
}

BackgroundLoad::Outcome BackgroundLoad::Take()
{
    if (m_inline)
        return *std::exchange(m_inline, std::nullopt);
    if (m_done.valid())
        return m_done.get();
    Outcome never;
    never.result = FileIoResult::Failure(QStringLiteral("读取没有开始。"));
    return never;
}

// On the reading thread; the feed does the component's part.
void BackgroundLoad::Reserve(qint64 bytes)
{
    if (m_reserved > 0 && m_reserved >= bytes)
        return;
    m_reserved = bytes + Slack(bytes);
    m_feed->Reserve(m_reserved);
    m_tally.Reset();
}

void BackgroundLoad::Append(const char *data, qsizetype length)
{
    if (m_feed->Failed())
        return;
    if (m_reserved == 0)
        Reserve(length);
    m_feed->Append(data, length);
    m_tally.Add(QByteArrayView(data, length));
}

void BackgroundLoad::Drop()
{
    m_feed->Drop();
    m_reserved = 0;
    m_tally.Reset();
}

BackgroundLoad::Outcome BackgroundLoad::Run()
{
    LoaderFeed feed(m_component, m_size >= InlineBelow);
    m_feed = &feed;
    DocumentLoader::Target target;
    target.reserve = [this](qint64 bytes) { Reserve(bytes); };
    target.clear = [this] { Drop(); };
    target.append = [this](const char *data, qsizetype length) { Append(data, length); };
    target.breathe = [this, pause = PauseAfterChunk()] {
        m_bytesRead = m_file.pos();
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
    };
    target.stopped = [this] { return m_stop.load() || m_feed->Failed(); };
    target.largest = DocumentCapacity::Largest();
    DocumentLoader loader(m_file, m_size, std::move(target), m_sizes);
    Outcome outcome;
    outcome.result = m_encoding ? loader.LoadAs(*m_encoding) : loader.LoadDetected();
    if (outcome.result.ok() && m_reserved == 0)
        Reserve(0); // an empty file
    void *document = outcome.result.ok() ? feed.Finish() : nullptr;
    if (feed.Failed())
        outcome.result = FileIoResult::Failure(QStringLiteral("内存不足，无法读入这个文件。"));
    else if (m_stop && !outcome.result.ok())
        outcome.result = FileIoResult::Stop();
    m_feed = nullptr;
    if (!outcome.result.ok()) {
        if (document)
            m_component.SendScintilla(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0UL, document);
        return outcome;
    }
    outcome.decided = loader.Decided();
    outcome.lineEnds = m_tally.Total();
    outcome.longestLine = m_tally.LongestLine();
    outcome.document = document;
    return outcome;
}
