#include "BackgroundLoad.h"

#include "DocumentCapacity.h"
#include "TextFileReader.h"

#include <QFile>
#include <Qsci/qsciscintillabase.h>
#include <cstddef>
#include <thread>

using Sci = QsciScintillaBase;

// The component's loader interface, as the component names and declares
// it (what SCI_CREATELOADER answers): a document that is not shown anywhere
// yet, filled from any thread. The name must be the component's own, since
// the object behind it is the component's.
class ILoader
{
public:
    virtual int Release() = 0;
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;

protected:
    ~ILoader() = default;
};

BackgroundLoad::BackgroundLoad(QsciScintillaBase &component, QFile &file, qint64 size,
                               std::optional<TextEncoding> encoding, DocumentLoader::Sizes sizes)
    : m_component(component), m_file(file), m_size(size), m_encoding(std::move(encoding)), m_sizes(sizes)
{
}

BackgroundLoad::~BackgroundLoad()
{
    if (m_done.valid()) {
        Stop();
        if (void *document = m_done.get().document)
            m_component.SendScintilla(Sci::SCI_RELEASEDOCUMENT, 0UL, document);
    }
    Drop();
}

std::chrono::milliseconds &BackgroundLoad::PauseAfterChunk()
{
    static std::chrono::milliseconds pause{0};
    return pause;
}

qint64 BackgroundLoad::Slack(qint64 bytes)
{
    return std::max<qint64>(64 * 1024, bytes / 16);
}

void BackgroundLoad::Start()
{
    m_done = std::async(std::launch::async, [this] { return Run(); });
}

bool BackgroundLoad::WaitFor(std::chrono::milliseconds wait)
{
    return !m_done.valid() || m_done.wait_for(wait) == std::future_status::ready;
}

BackgroundLoad::Outcome BackgroundLoad::Take()
{
    if (m_done.valid())
        return m_done.get();
    Outcome never;
    never.result = FileIoResult::Failure(QStringLiteral("读取没有开始。"));
    return never;
}

// On the worker thread. A loader is made only through the component's own
// message for it, which makes a new document and touches nothing the
// interface thread uses.
bool BackgroundLoad::Reserve(qint64 bytes)
{
    if (m_loader && m_reserved >= bytes)
        return true;
    Drop();
    const qint64 room = bytes + Slack(bytes);
    m_loader = reinterpret_cast<ILoader *>(
        m_component.SendScintilla(Sci::SCI_CREATELOADER, static_cast<unsigned long>(room),
                                  long(Sci::SC_DOCUMENTOPTION_TEXT_LARGE))); // as every editor's, beyond 2 GiB
    m_reserved = m_loader ? room : 0;
    m_outOfMemory = !m_loader;
    return m_loader != nullptr;
}

void BackgroundLoad::Append(const char *data, qsizetype length)
{
    if (m_outOfMemory || (!m_loader && !Reserve(length)))
        return;
    if (m_loader->AddData(data, length) != Sci::SC_STATUS_OK) {
        m_outOfMemory = true;
        return;
    }
    m_tally.Add(QByteArrayView(data, length));
}

void BackgroundLoad::Drop()
{
    if (m_loader)
        m_loader->Release();
    m_loader = nullptr;
    m_reserved = 0;
    m_tally.Reset();
}

BackgroundLoad::Outcome BackgroundLoad::Run()
{
    DocumentLoader::Target target;
    target.reserve = [this](qint64 bytes) { Reserve(bytes); };
    target.clear = [this] { Drop(); };
    target.append = [this](const char *data, qsizetype length) { Append(data, length); };
    target.breathe = [this, pause = PauseAfterChunk()] {
        m_bytesRead = m_file.pos();
        if (pause.count() > 0)
            std::this_thread::sleep_for(pause);
    };
    target.stopped = [this] { return m_stop.load() || m_outOfMemory; };
    target.largest = DocumentCapacity::Largest();
    DocumentLoader loader(m_file, m_size, std::move(target), m_sizes);
    Outcome outcome;
    outcome.result = m_encoding ? loader.LoadAs(*m_encoding) : loader.LoadDetected();
    if (m_outOfMemory)
        outcome.result = FileIoResult::Failure(QStringLiteral("内存不足，无法读入这个文件。"));
    else if (m_stop && !outcome.result.ok())
        outcome.result = FileIoResult::Stop();
    if (!outcome.result.ok()) {
        Drop();
        return outcome;
    }
    if (!m_loader)
        Reserve(0); // an empty file
    if (!m_loader) {
        outcome.result = FileIoResult::Failure(QStringLiteral("内存不足，无法读入这个文件。"));
        return outcome;
    }
    outcome.decided = loader.Decided();
    outcome.lineEnds = m_tally.Total();
    outcome.longestLine = m_tally.LongestLine();
    outcome.document = m_loader->ConvertToDocument();
    m_loader = nullptr;
    return outcome;
}
