#include "FolderSearch.h"

#include "FileScanner.h"
#include "FolderWalker.h"
#include "editor/ComponentWordRules.h"

#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

// The walk runs at most this far ahead of the readers.
constexpr std::size_t MostQueued = 4096;
// How often the interface takes in what the workers found.
constexpr int PollMs = 15;

struct Job
{
    qint64 order = 0;
    QString path;
};

} // namespace

struct FolderSearch::Shared
{
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Job> jobs;
    bool walked = false;
    // Readers holding a file. The search is over when the walk is done and
    // nothing is queued or held (or, stopped, nothing is held): whether a
    // reader thread has even started does not matter.
    int busy = 0;
    QList<FileHits> found;
    QList<FileProblem> problems;
    qint64 searched = 0;
    qint64 notText = 0;
    std::vector<std::unique_ptr<TextMatcher>> matchers; // one for each reader
};

FolderSearch::FolderSearch(FindInFilesRequest request, OpenTexts openTexts, QObject *parent)
    : QObject(parent), m_request(std::move(request)), m_openTexts(std::move(openTexts))
{
    m_poll.setInterval(PollMs);
    connect(&m_poll, &QTimer::timeout, this, &FolderSearch::Deliver);
}

FolderSearch::~FolderSearch()
{
    Stop();
    for (std::thread &thread : m_threads)
        thread.join();
}

void FolderSearch::Start()
{
    if (m_shared)
        return; // one search for each object
    m_shared = std::make_shared<Shared>();
    m_totals = {};
    m_clock.start();
    m_running = true;
    m_poll.start();

    const QString folder = QFileInfo(m_request.folder).canonicalFilePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        m_shared->problems.append({m_request.folder, QStringLiteral("文件夹不存在。")});
        m_shared->walked = true;
        return; // the next poll finishes the search
    }
    // The word rules are learned from a component, which only the interface
    // thread may make.
    const ComponentWordRules words = ComponentWordRules::Learned();
    const int readers = std::max(1, QThread::idealThreadCount());
    for (int i = 0; i < readers; ++i)
        if (auto matcher = TextMatcher::Make(m_request.query, words, nullptr))
            m_shared->matchers.push_back(std::move(matcher));
    if (m_shared->matchers.empty()) {
        m_shared->problems.append({m_request.folder, QStringLiteral("查找内容无法用于搜索。")});
        m_shared->walked = true;
        return;
    }

    const std::shared_ptr<Shared> shared = m_shared;
    m_threads.emplace_back([this, shared, folder] { Walk(shared, folder); });
    for (std::size_t i = 0; i < shared->matchers.size(); ++i)
        m_threads.emplace_back([this, shared] { Work(shared); });
}

void FolderSearch::Stop()
{
    if (!m_shared || !m_running)
        return;
    m_shared->stop = true;
    m_shared->wake.notify_all();
    m_totals.stopped = true;
}

void FolderSearch::Walk(const std::shared_ptr<Shared> &shared, const QString &folder) const
{
    qint64 order = 0;
    FolderWalker::Visitor visitor;
    visitor.file = [&](const QString &path) {
        std::unique_lock lock(shared->mutex);
        shared->wake.wait(lock, [&] { return shared->stop || shared->jobs.size() < MostQueued; });
        if (shared->stop)
            return false;
        shared->jobs.push_back({order++, path});
        shared->wake.notify_one();
        return true;
    };
    visitor.unreadable = [&](const QString &path, const QString &reason) {
        std::lock_guard lock(shared->mutex);
        shared->problems.append({path, QStringLiteral("无法读取这个文件夹：%1").arg(reason)});
    };
    FolderWalker(FilePatterns(m_request.patterns), m_request.subfolders).Walk(folder, visitor);

    std::lock_guard lock(shared->mutex);
    shared->walked = true;
    shared->wake.notify_all();
}

void FolderSearch::Work(const std::shared_ptr<Shared> &shared) const
{
    std::unique_ptr<TextMatcher> matcher;
    {
        std::lock_guard lock(shared->mutex);
        matcher = std::move(shared->matchers.back());
        shared->matchers.pop_back();
    }
    FileScanner scanner(*matcher);
    const auto stopped = [&shared] { return shared->stop.load(); };
    for (;;) {
        Job job;
        {
            std::unique_lock lock(shared->mutex);
            shared->wake.wait(lock, [&] { return shared->stop || !shared->jobs.empty() || shared->walked; });
            if (shared->stop || shared->jobs.empty())
                break;
            job = std::move(shared->jobs.front());
            shared->jobs.pop_front();
            ++shared->busy;
            shared->wake.notify_all(); // room for the walker
        }
        if (beforeFile)
            beforeFile(job.path);
        FileScanner::Result result;
        result.outcome = FileScanner::Outcome::Stopped;
        if (!stopped()) {
            const auto open = m_openTexts.constFind(job.path);
            result = open != m_openTexts.cend() ? scanner.ScanText(job.path, *open) : scanner.ScanFile(job.path, stopped);
        }
        result.hits.order = job.order;
        std::lock_guard lock(shared->mutex);
        --shared->busy;
        if (result.outcome == FileScanner::Outcome::Stopped)
            break;
        ++shared->searched;
        if (result.outcome == FileScanner::Outcome::NotText)
            ++shared->notText;
        else if (result.outcome == FileScanner::Outcome::Failed)
            shared->problems.append({job.path, result.reason});
        if (!result.hits.hits.isEmpty())
            shared->found.append(std::move(result.hits));
    }
}

void FolderSearch::Deliver()
{
    QList<FileHits> found;
    bool done = false;
    {
        std::lock_guard lock(m_shared->mutex);
        found.swap(m_shared->found);
        m_totals.filesSearched = m_shared->searched;
        m_totals.filesNotText = m_shared->notText;
        m_totals.problems = m_shared->problems;
        done = m_shared->busy == 0 && (m_shared->stop || (m_shared->walked && m_shared->jobs.empty()));
    }
    if (!found.isEmpty())
        emit Found(found);
    if (!done)
        return;
    m_poll.stop();
    m_running = false;
    m_totals.elapsedMs = m_clock.elapsed();
    emit Finished();
}
