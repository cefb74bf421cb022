#include "LoaderFeed.h"

#include <Qsci/qsciscintillabase.h>
#include <cstddef>
#include <cstring>

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

namespace {

// Chunks read ahead of the component: enough to keep both threads busy.
constexpr size_t MostQueued = 2;

} // namespace

LoaderFeed::LoaderFeed(QsciScintillaBase &component, bool threaded) : m_component(component), m_threaded(threaded)
{
    if (m_threaded)
        m_thread = std::thread([this] { Run(); });
}

LoaderFeed::~LoaderFeed()
{
    {
        std::lock_guard lock(m_mutex);
        m_ending = true;
        m_queue.clear();
    }
    m_changed.notify_all();
    if (m_thread.joinable())
        m_thread.join();
    if (m_loader)
        m_loader->Release();
}

void LoaderFeed::Reserve(qint64 bytes)
{
    Step step;
    step.kind = Step::Reserve;
    step.bytes = bytes;
    Push(std::move(step));
}

void LoaderFeed::Append(const char *data, qsizetype length)
{
    if (length <= 0)
        return;
    if (!m_threaded) {
        Give(data, length); // no copy: the component takes it now
        return;
    }
    Step step;
    step.kind = Step::Append;
    step.text = SpareBuffer(length);
    std::memcpy(step.text.data(), data, size_t(length));
    Push(std::move(step));
}

void LoaderFeed::Drop()
{
    Step step;
    step.kind = Step::Drop;
    Push(std::move(step));
}

void *LoaderFeed::Finish()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.empty() && !m_busy; });
    if (!m_loader || m_failed)
        return nullptr;
    void *document = m_loader->ConvertToDocument();
    m_loader = nullptr;
    return document;
}

void *LoaderFeed::DocumentHolding(QsciScintillaBase &component, QByteArrayView text)
{
    auto *loader = reinterpret_cast<ILoader *>(component.SendScintilla(
        Sci::SCI_CREATELOADER, static_cast<unsigned long>(text.size()), long(Sci::SC_DOCUMENTOPTION_TEXT_LARGE)));
    if (!loader)
        return nullptr;
    if (!text.isEmpty() && loader->AddData(text.data(), text.size()) != Sci::SC_STATUS_OK) {
        loader->Release();
        return nullptr;
    }
    return loader->ConvertToDocument();
}

// A buffer the feeder gave back, so that the chunks do not each fault in
// fresh memory.
std::vector<char> LoaderFeed::SpareBuffer(qsizetype length)
{
    std::vector<char> buffer;
    {
        std::lock_guard lock(m_mutex);
        if (!m_spare.empty()) {
            buffer = std::move(m_spare.back());
            m_spare.pop_back();
        }
    }
    buffer.resize(size_t(length));
    return buffer;
}

void LoaderFeed::Push(Step step)
{
    if (!m_threaded) {
        Do(step);
        return;
    }
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_queue.size() < MostQueued || m_ending; });
    m_queue.push_back(std::move(step));
    m_changed.notify_all();
}

void LoaderFeed::Run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return !m_queue.empty() || m_ending; });
        if (m_ending)
            return;
        Step step = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        Do(step);
        lock.lock();
        m_busy = false;
        if (step.kind == Step::Append && m_spare.size() < MostQueued + 1)
            m_spare.push_back(std::move(step.text));
        m_changed.notify_all();
    }
}

void LoaderFeed::Give(const char *data, qsizetype length)
{
    if (m_loader && !m_failed && m_loader->AddData(data, length) != Sci::SC_STATUS_OK)
        m_failed = true;
}

// On the feeder thread. A loader is made only through the component's own
// message for it, which makes a new document and touches nothing the
// interface thread uses.
void LoaderFeed::Do(Step &step)
{
    switch (step.kind) {
    case Step::Reserve:
        if (m_loader)
            m_loader->Release();
        m_loader = reinterpret_cast<ILoader *>(
            m_component.SendScintilla(Sci::SCI_CREATELOADER, static_cast<unsigned long>(step.bytes),
                                      long(Sci::SC_DOCUMENTOPTION_TEXT_LARGE))); // as every editor's, beyond 2 GiB
        m_failed = !m_loader;
        return;
    case Step::Append:
        Give(step.text.data(), qsizetype(step.text.size()));
        return;
    case Step::Drop:
        if (m_loader)
            m_loader->Release();
        m_loader = nullptr;
        return;
    }
}
